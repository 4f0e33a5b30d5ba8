// PackBlocks and UnpackBlocks on about 1 MB of English text, of Korean text in code page 949 and of random
// bytes, against LZ4 (default compression, safe decompression) and memcpy of the same data. MB/s count the
// unpacked bytes; the "ratio" counter is the packed size over the original size.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <lz4.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ratios.h"
#include "util/block_packer.h"

namespace {

const size_t corpusSize = 1 << 20;

// A harbour town over a year: plain prose with names, numbers and punctuation.
const char* const englishSource = R"(
The harbour at Kessington lies at the mouth of a slow brown river, and for most of the year the town smells of
salt, tar and wet rope. Fishing boats leave before dawn, when the lamps along the quay are still burning, and
come back in the early afternoon with their decks crowded with crates of herring, mackerel and, in a good week,
a few silver bass that fetch three times the price of anything else at the market.
In winter the easterly gales close the harbour for days at a time. The boats stay tied up two and three deep
along the wall, the gulls sit in rows on the warehouse roofs, and the men who own the boats gather in the back
room of the Anchor to argue about the weather, the price of diesel and whether the new breakwater will ever be
finished. It was begun in 1987 with money from the county, stopped in 1991 when the money ran out, and started
again twice since; the unfinished end of it still points out to sea like a broken finger.
Spring arrives late on this coast. The first sign is not the blossom in the churchyard but the return of the
pleasure boats, painted white and blue, which carry visitors out to the seal colony on the sandbanks for eight
pounds a head. By May the car park above the beach is full on a Sunday, the ice-cream kiosk opens its shutters,
and Mrs. Abernathy puts her hand-lettered sign, ROOMS - NO VACANCIES, in the window of the guest house by the
lighthouse, usually before a single guest has arrived.
Summer brings the regatta, held on the second Saturday of August since before anyone can remember. There are
races for rowing gigs, for dinghies and for the old working boats, which are sailed by their owners' children
and grandchildren with more enthusiasm than skill. In the evening the brass band plays on the quay, the pubs
stay open until one in the morning, and the police sergeant, who has seen forty regattas, makes a point of
being somewhere else.
Autumn is the quietest season and, many people say, the best. The visitors have gone, the light turns gold
over the marshes, and huge flocks of geese come in from the north to feed on the stubble fields behind the sea
wall. The school reopens, the lifeboat crew holds its annual dinner, and the harbour master, a patient woman
named Judith Carver, begins her yearly campaign to persuade the council that the dredging cannot wait another
twelve months.
Nobody knows exactly how old the town is. A charter of 1243 mentions "the port of Kesinton, with its fish weirs
and salt pans", and there are Roman coins in the museum that were found when the gasworks were built, but the
museum's curator, Dr. Philip Osei, admits that coins travel and prove very little. What is certain is that by
1600 the town had a customs house, a ropewalk 300 yards long and a reputation, never entirely deserved, for
smuggling brandy, lace and tobacco past the revenue men.
Today the ropewalk is a row of small workshops: a potter, a man who builds guitars, a bakery that sells bread
only until eleven o'clock, and a bookshop whose owner seems to regard selling books as a regrettable
interruption of reading them. Rents are low, the roof leaks in two places, and nobody would dream of leaving.
On the hill above the harbour the old coastguard station has been turned into a weather observatory run by
volunteers. Every morning at nine someone climbs the iron stairs, reads the thermometers, the rain gauge and
the barometer, and writes the figures in a ledger that goes back without a gap to January 1921. The wettest
day on record was 14 October 1953, with 96 millimetres of rain; the hottest was 3 August 1990, at 31.4 degrees;
and the strongest gust, estimated at 104 miles an hour, took the roof off the fish market in the storm of 1987.
Children who grow up in Kessington learn to read the sky before they can read a book. They know that a ring
around the moon means rain within two days, that a west wind brings mackerel close inshore, and that when the
church bells can be heard clearly across the marsh the weather is about to change. Some of this is true.
)";

// The same kind of prose in Korean, written here in UTF-8 and converted to code page 949 at run time.
const char* const koreanSource = R"(
바닷가 작은 마을의 아침은 언제나 항구에서 시작된다. 해가 뜨기 전부터 어부들은 그물을 손질하고 배에 기름을 채우며,
부두의 가로등이 꺼질 무렵이면 첫 배가 물살을 가르며 먼 바다로 나아간다. 오후가 되면 배들은 고등어와 갈치, 운이 좋은
날에는 값비싼 민어를 가득 싣고 돌아오고, 시장 골목은 흥정하는 사람들의 목소리로 떠들썩해진다.
겨울에는 북동풍이 거세게 불어 며칠씩 배가 뜨지 못하는 날이 많다. 그런 날이면 선주들은 부두 앞 다방에 모여 앉아 날씨와
기름값, 그리고 몇 년째 공사가 멈춰 있는 방파제 이야기를 한다. 방파제는 천구백팔십칠 년에 군의 예산으로 처음 짓기 시작했지만
돈이 떨어져 중단되었고, 그 뒤로도 두 번이나 다시 시작했다가 멈추었다. 미완성인 끝부분은 지금도 바다를 향해 부러진 손가락처럼
뻗어 있다.
봄은 이 해안에 늦게 찾아온다. 첫 번째 신호는 교회 마당의 벚꽃이 아니라 하얀색과 파란색으로 칠한 유람선이 돌아오는 것이다.
유람선은 관광객을 태우고 모래톱에 사는 물범 무리를 보러 간다. 오월이 되면 해변 위 주차장은 주말마다 가득 차고, 아이스크림
가게가 문을 열며, 등대 옆 민박집 할머니는 손님이 한 명도 오기 전에 빈방 없음이라고 쓴 종이를 창문에 붙여 둔다.
여름에는 해마다 팔월 둘째 토요일에 열리는 조정 대회가 있다. 노 젓는 배와 작은 돛단배, 그리고 오래된 고깃배들이 경주에
나서는데, 고깃배는 주인의 자식과 손주들이 솜씨보다는 열정으로 몬다. 저녁에는 부두에서 악단이 연주를 하고, 술집들은 새벽
한 시까지 문을 열며, 마흔 번이나 대회를 지켜본 파출소 경사는 일부러 다른 곳에 가 있곤 한다.
가을은 가장 조용한 계절이고, 많은 사람들이 가장 좋은 계절이라고 말한다. 관광객들이 떠나고 갈대밭 위로 햇빛이 금빛으로
물들면, 북쪽에서 날아온 기러기 떼가 방조제 뒤 논에 내려앉아 낟알을 쪼아 먹는다. 학교가 다시 문을 열고, 구조대는 해마다 하는
저녁 모임을 갖고, 참을성 많은 항만 관리인은 준설을 더 이상 미룰 수 없다고 군청을 설득하는 일을 올해도 시작한다.
마을이 정확히 언제 생겼는지는 아무도 모른다. 오래된 문서에는 고기잡이 발과 염전이 있는 포구라는 기록이 남아 있고, 가스 공장을
지을 때 땅에서 나온 옛날 동전이 박물관에 전시되어 있지만, 박물관의 학예사는 동전은 멀리 떠돌아다니기 때문에 그것만으로는
아무것도 증명할 수 없다고 솔직하게 말한다. 확실한 것은 조선 후기에 이미 이 포구에 세곡을 모으는 창고와 긴 밧줄 공방이
있었고, 밀수로 이름이 나 있었다는 사실이다.
지금 밧줄 공방 자리에는 작은 작업실들이 늘어서 있다. 도자기를 굽는 사람, 기타를 만드는 사람, 오전 열한 시까지만 빵을 파는
빵집, 그리고 책을 파는 일보다 책을 읽는 일을 더 좋아하는 것처럼 보이는 주인이 있는 헌책방이 있다. 임대료는 싸고 지붕은 두
군데서 물이 새지만, 떠나겠다는 사람은 아무도 없다.
항구 위 언덕에 있는 옛 해안 경비 초소는 자원봉사자들이 운영하는 기상 관측소가 되었다. 매일 아침 아홉 시에 누군가 철 계단을
올라가 온도계와 우량계, 기압계를 읽고, 천구백이십일 년 일월부터 하루도 빠짐없이 이어져 온 장부에 숫자를 적는다. 가장 비가 많이
온 날은 하루에 구십육 밀리미터가 내렸고, 가장 더운 날은 삼십일 점 사 도였으며, 가장 센 돌풍은 어시장 지붕을 날려 버렸다.
이 마을에서 자란 아이들은 책을 읽기 전에 하늘을 읽는 법부터 배운다. 달무리가 지면 이틀 안에 비가 오고, 서풍이 불면 고등어가
가까이 몰려오며, 갈대밭 너머로 교회 종소리가 또렷하게 들리면 곧 날씨가 바뀐다는 것을 안다. 그중 몇 가지는 사실이다.
)";

// About `size` bytes of text in the words of `source`: each next word is one that follows the current word
// somewhere in the source or any word of it, so that no long stretch repeats.
std::string Ramble(const char* source, size_t size, uint32_t seed) {
    std::vector<std::string> words;
    std::istringstream stream(source);
    std::string line;
    while (std::getline(stream, line)) {
        std::istringstream lineWords(line);
        std::string word;
        while (lineWords >> word) words.push_back(word);
        if (!words.empty() && words.back() != "\n") words.push_back("\n");
    }
    std::map<std::string, std::vector<size_t>> next;
    for (size_t i = 0; i + 1 < words.size(); i++) next[words[i]].push_back(i + 1);
    std::mt19937 random(seed);
    std::string text;
    size_t at = 0;
    while (text.size() < size) {
        const std::string& word = words[at];
        if (word == "\n") {
            text += '\n';
        } else {
            if (!text.empty() && text.back() != '\n') text += ' ';
            text += word;
        }
        // Half the words follow their predecessor as in the source, half are drawn by frequency alone.
        auto found = next.find(word);
        at = found == next.end() || random() % 2 ? random() % words.size()
                                                 : found->second[random() % found->second.size()];
    }
    text.resize(size);
    return text;
}

std::string ToCodePage949(const std::string& utf8) {
    iconv_t convert = iconv_open("CP949", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) abort();
    std::string out(utf8.size(), '\0'); // Hangul takes 3 bytes in UTF-8 and 2 in code page 949
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = out.size();
    char* to = out.data();
    if (iconv(convert, &in, &inLeft, &to, &outLeft) == static_cast<size_t>(-1)) abort();
    iconv_close(convert);
    out.resize(out.size() - outLeft);
    return out;
}

enum Corpus { english, korean, randomBytes };

struct Data {
    std::vector<uint8_t> original;
    std::vector<uint8_t> packed; // by PackBlocks
    std::vector<uint8_t> lz4;    // by LZ4_compress_default
};

const Data& Get(Corpus corpus) {
    static Data data[3];
    Data& d = data[corpus];
    if (!d.original.empty()) return d;
    std::string text;
    if (corpus == english) text = Ramble(englishSource, corpusSize, 1);
    if (corpus == korean) {
        // Cut the UTF-8 text at a line end so that no character is split; about 1 MB once converted.
        std::string utf8 = Ramble(koreanSource, corpusSize * 3 / 2, 2);
        utf8.resize(utf8.rfind('\n') + 1);
        text = ToCodePage949(utf8);
    }
    if (corpus == randomBytes) {
        std::mt19937 random(3);
        text.resize(corpusSize);
        for (char& c : text) c = static_cast<char>(random());
    }
    d.original.assign(text.begin(), text.end());
    const uint32_t size = static_cast<uint32_t>(d.original.size());
    d.packed.resize(PackBlocksBound(size));
    int64_t packed =
        PackBlocks(d.original.data(), size, d.packed.data(), static_cast<uint32_t>(d.packed.size()));
    if (packed < 0) abort();
    d.packed.resize(static_cast<size_t>(packed));
    d.lz4.resize(static_cast<size_t>(LZ4_compressBound(static_cast<int>(size))));
    int compressed = LZ4_compress_default(reinterpret_cast<const char*>(d.original.data()),
                                          reinterpret_cast<char*>(d.lz4.data()), static_cast<int>(size),
                                          static_cast<int>(d.lz4.size()));
    if (compressed <= 0) abort();
    d.lz4.resize(static_cast<size_t>(compressed));
    return d;
}

void Finish(benchmark::State& state, const Data& d, size_t packedSize) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.original.size()));
    state.counters["ratio"] = static_cast<double>(packedSize) / static_cast<double>(d.original.size());
}

void BM_PackBlocks(benchmark::State& state, Corpus corpus) {
    const Data& d = Get(corpus);
    std::vector<uint8_t> out(PackBlocksBound(static_cast<uint32_t>(d.original.size())));
    int64_t packed = 0;
    for (auto _ : state) {
        packed = PackBlocks(d.original.data(), static_cast<uint32_t>(d.original.size()), out.data(),
                            static_cast<uint32_t>(out.size()));
        benchmark::DoNotOptimize(packed);
        benchmark::ClobberMemory();
    }
    if (packed != static_cast<int64_t>(d.packed.size())) state.SkipWithError("packed size changed");
    Finish(state, d, d.packed.size());
}

void BM_UnpackBlocks(benchmark::State& state, Corpus corpus) {
    const Data& d = Get(corpus);
    std::vector<uint8_t> out(d.original.size());
    int64_t unpacked = 0;
    for (auto _ : state) {
        unpacked = UnpackBlocks(d.packed.data(), static_cast<uint32_t>(d.packed.size()), out.data(),
                                static_cast<uint32_t>(out.size()));
        benchmark::DoNotOptimize(unpacked);
        benchmark::ClobberMemory();
    }
    if (out != d.original) state.SkipWithError("unpacked bytes differ");
    Finish(state, d, d.packed.size());
}

void BM_PackerLZ4Compress(benchmark::State& state, Corpus corpus) {
    const Data& d = Get(corpus);
    std::vector<char> out(static_cast<size_t>(LZ4_compressBound(static_cast<int>(d.original.size()))));
    for (auto _ : state) {
        int compressed =
            LZ4_compress_default(reinterpret_cast<const char*>(d.original.data()), out.data(),
                                 static_cast<int>(d.original.size()), static_cast<int>(out.size()));
        benchmark::DoNotOptimize(compressed);
        benchmark::ClobberMemory();
    }
    Finish(state, d, d.lz4.size());
}

void BM_PackerLZ4Decompress(benchmark::State& state, Corpus corpus) {
    const Data& d = Get(corpus);
    std::vector<char> out(d.original.size());
    for (auto _ : state) {
        int size = LZ4_decompress_safe(reinterpret_cast<const char*>(d.lz4.data()), out.data(),
                                       static_cast<int>(d.lz4.size()), static_cast<int>(out.size()));
        benchmark::DoNotOptimize(size);
        benchmark::ClobberMemory();
    }
    Finish(state, d, d.lz4.size());
}

void BM_PackerMemcpy(benchmark::State& state, Corpus corpus) {
    const Data& d = Get(corpus);
    std::vector<uint8_t> out(d.original.size());
    for (auto _ : state) {
        memcpy(out.data(), d.original.data(), d.original.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    Finish(state, d, d.original.size());
}

} // namespace

BENCHMARK_CAPTURE(BM_PackBlocks, english, english);
BENCHMARK_CAPTURE(BM_PackBlocks, korean, korean);
BENCHMARK_CAPTURE(BM_PackBlocks, random, randomBytes);
BENCHMARK_CAPTURE(BM_UnpackBlocks, english, english);
BENCHMARK_CAPTURE(BM_UnpackBlocks, korean, korean);
BENCHMARK_CAPTURE(BM_UnpackBlocks, random, randomBytes);
BENCHMARK_CAPTURE(BM_PackerLZ4Compress, english, english);
BENCHMARK_CAPTURE(BM_PackerLZ4Compress, korean, korean);
BENCHMARK_CAPTURE(BM_PackerLZ4Compress, random, randomBytes);
BENCHMARK_CAPTURE(BM_PackerLZ4Decompress, english, english);
BENCHMARK_CAPTURE(BM_PackerLZ4Decompress, korean, korean);
BENCHMARK_CAPTURE(BM_PackerLZ4Decompress, random, randomBytes);
BENCHMARK_CAPTURE(BM_PackerMemcpy, english, english);

VQ_RATIO("PackBlocks English vs LZ4 compress", "BM_PackBlocks/english", "BM_PackerLZ4Compress/english", 1.0);
VQ_RATIO("UnpackBlocks English vs LZ4 decompress", "BM_UnpackBlocks/english",
         "BM_PackerLZ4Decompress/english", 0.5);
VQ_RATIO("PackBlocks Korean CP949 vs LZ4 compress", "BM_PackBlocks/korean", "BM_PackerLZ4Compress/korean",
         1.0);
VQ_RATIO("UnpackBlocks Korean CP949 vs LZ4 decompress", "BM_UnpackBlocks/korean",
         "BM_PackerLZ4Decompress/korean", 0.5);
// No goal on random bytes or against memcpy: these guard against regressions. LZ4 stores random data as one
// literal run, while every block here needs its scan.
VQ_RATIO("PackBlocks random vs LZ4 compress", "BM_PackBlocks/random", "BM_PackerLZ4Compress/random", 0.02);
VQ_RATIO("UnpackBlocks random vs LZ4 decompress", "BM_UnpackBlocks/random", "BM_PackerLZ4Decompress/random",
         0.05);
VQ_RATIO("PackBlocks English vs memcpy", "BM_PackBlocks/english", "BM_PackerMemcpy/english", 0.01);
VQ_RATIO("UnpackBlocks English vs memcpy", "BM_UnpackBlocks/english", "BM_PackerMemcpy/english", 0.05);
