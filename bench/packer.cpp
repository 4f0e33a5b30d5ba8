// PackBlocks and UnpackBlocks on real text this machine has, against LZ4 (default compression, safe
// decompression) and memcpy of the same data: English from the licence texts in /usr/share/common-licenses,
// Korean from the translations of the installed Korean message catalogues, converted to code page 949, and
// random bytes. MB/s count the unpacked bytes; the counters give the input and packed sizes. Both unpackers
// read and write buffers at the same places within pages.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <iconv.h>
#include <lz4.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/page_memory.h"
#include "bench/ratios.h"
#include "util/block_packer.h"

static const size_t corpusSize = 1 << 20;

// Regular files of a folder (links left out: they repeat other files), by name.
static std::vector<std::string> FilesIn(const char* folder, const char* ending) {
    std::vector<std::string> paths;
    DIR* d = opendir(folder);
    if (!d) return paths;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name, path = std::string(folder) + "/" + name;
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (name.size() < strlen(ending) ||
            name.compare(name.size() - strlen(ending), strlen(ending), ending) != 0)
            continue;
        paths.push_back(path);
    }
    closedir(d);
    std::sort(paths.begin(), paths.end());
    return paths;
}

static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static std::string EnglishText() {
    std::string text;
    for (const std::string& path : FilesIn("/usr/share/common-licenses", "")) {
        if (text.size() >= corpusSize) break;
        text += ReadFile(path);
    }
    if (text.size() > corpusSize) text.resize(corpusSize);
    return text;
}

// One string in code page 949, or nothing when it has a character that code page lacks.
static bool ToCodePage949(iconv_t convert, const std::string& utf8, std::string* out) {
    std::string converted(utf8.size() + 8, '\0'); // Hangul takes 3 bytes in UTF-8 and 2 in code page 949
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = converted.size();
    char* to = converted.data();
    iconv(convert, nullptr, nullptr, nullptr, nullptr);
    if (iconv(convert, &in, &inLeft, &to, &outLeft) == static_cast<size_t>(-1)) return false;
    converted.resize(converted.size() - outLeft);
    *out += converted;
    return true;
}

static uint32_t Word(const std::string& mo, size_t at, bool swap) {
    if (at + 4 > mo.size()) return 0;
    uint32_t v;
    memcpy(&v, mo.data() + at, 4);
    return swap ? __builtin_bswap32(v) : v;
}

// The translated strings of a GNU message catalogue (the header entry left out), a line each.
static void AddTranslations(const std::string& mo, iconv_t convert, std::string* text) {
    uint32_t magic = Word(mo, 0, false);
    bool swap = magic == 0xde120495u;
    if (!swap && magic != 0x950412deu) return;
    uint32_t count = Word(mo, 8, swap), originals = Word(mo, 12, swap), translations = Word(mo, 16, swap);
    for (uint32_t i = 0; i < count && text->size() < corpusSize; i++) {
        uint32_t originalLength = Word(mo, originals + 8 * i, swap);
        uint32_t length = Word(mo, translations + 8 * i, swap), at = Word(mo, translations + 8 * i + 4, swap);
        if (originalLength == 0 || length == 0 || static_cast<size_t>(at) + length > mo.size()) continue;
        std::string utf8 = mo.substr(at, length);
        std::replace(utf8.begin(), utf8.end(), '\0', '\n'); // plural forms
        if (ToCodePage949(convert, utf8, text)) *text += '\n';
    }
}

static std::string KoreanText() {
    std::string text;
    iconv_t convert = iconv_open("CP949", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) return text;
    for (const std::string& path : FilesIn("/usr/share/locale/ko/LC_MESSAGES", ".mo")) {
        if (text.size() >= corpusSize) break;
        AddTranslations(ReadFile(path), convert, &text);
    }
    iconv_close(convert);
    if (text.size() > corpusSize) text.resize(corpusSize);
    return text;
}
namespace {

enum Corpus { english, korean, randomBytes };

struct Data {
    std::vector<uint8_t> original;
    std::vector<uint8_t> packed; // by PackBlocks
    std::vector<uint8_t> lz4;    // by LZ4_compress_default
};

} // namespace

// Empty when the machine lacks the text.
static const Data& Get(Corpus corpus) {
    static Data data[3];
    static bool made[3];
    Data& d = data[corpus];
    if (made[corpus]) return d;
    made[corpus] = true;
    std::string text;
    if (corpus == english) text = EnglishText();
    if (corpus == korean) text = KoreanText();
    if (corpus == randomBytes) {
        std::mt19937 random(3);
        text.resize(corpusSize);
        for (char& c : text) c = static_cast<char>(random());
    }
    if (text.empty()) return d;
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

// The corpus, or an error on the benchmark when this machine lacks its text.
static const Data* Need(benchmark::State& state, Corpus corpus) {
    const Data& d = Get(corpus);
    if (!d.original.empty()) return &d;
    state.SkipWithError(corpus == korean ? "no Korean message catalogues here (/usr/share/locale/ko)"
                                         : "no licence texts here (/usr/share/common-licenses)");
    return nullptr;
}

static void Finish(benchmark::State& state, const Data& d, size_t packedSize) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.original.size()));
    state.counters["input"] = static_cast<double>(d.original.size());
    state.counters["packed"] = static_cast<double>(packedSize);
    state.counters["ratio"] = static_cast<double>(packedSize) / static_cast<double>(d.original.size());
}

static void BM_PackBlocks(benchmark::State& state, Corpus corpus) {
    const Data* found = Need(state, corpus);
    if (!found) return;
    const Data& d = *found;
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

static void BM_UnpackBlocks(benchmark::State& state, Corpus corpus) {
    const Data* found = Need(state, corpus);
    if (!found) return;
    const Data& d = *found;
    PageMemory in(d.packed.size(), 64), out(d.original.size(), 64 + 2048);
    memcpy(in.at, d.packed.data(), d.packed.size());
    int64_t unpacked = 0;
    for (auto _ : state) {
        unpacked = UnpackBlocks(in.at, static_cast<uint32_t>(d.packed.size()), out.at,
                                static_cast<uint32_t>(d.original.size()));
        benchmark::DoNotOptimize(unpacked);
        benchmark::ClobberMemory();
    }
    if (memcmp(out.at, d.original.data(), d.original.size()) != 0)
        state.SkipWithError("unpacked bytes differ");
    Finish(state, d, d.packed.size());
}

static void BM_PackerLZ4Compress(benchmark::State& state, Corpus corpus) {
    const Data* found = Need(state, corpus);
    if (!found) return;
    const Data& d = *found;
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

static void BM_PackerLZ4Decompress(benchmark::State& state, Corpus corpus) {
    const Data* found = Need(state, corpus);
    if (!found) return;
    const Data& d = *found;
    PageMemory in(d.lz4.size(), 64), out(d.original.size(), 64 + 2048);
    memcpy(in.at, d.lz4.data(), d.lz4.size());
    for (auto _ : state) {
        int size = LZ4_decompress_safe(reinterpret_cast<const char*>(in.at), reinterpret_cast<char*>(out.at),
                                       static_cast<int>(d.lz4.size()), static_cast<int>(d.original.size()));
        benchmark::DoNotOptimize(size);
        benchmark::ClobberMemory();
    }
    Finish(state, d, d.lz4.size());
}

static void BM_PackerMemcpy(benchmark::State& state, Corpus corpus) {
    const Data* found = Need(state, corpus);
    if (!found) return;
    const Data& d = *found;
    std::vector<uint8_t> out(d.original.size());
    for (auto _ : state) {
        memcpy(out.data(), d.original.data(), d.original.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    Finish(state, d, d.original.size());
}

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
         "BM_PackerLZ4Decompress/english", 1.0);
VQ_RATIO("PackBlocks Korean CP949 vs LZ4 compress", "BM_PackBlocks/korean", "BM_PackerLZ4Compress/korean",
         1.0);
VQ_RATIO("UnpackBlocks Korean CP949 vs LZ4 decompress", "BM_UnpackBlocks/korean",
         "BM_PackerLZ4Decompress/korean", 1.0);
// No goal on random bytes or against memcpy: these guard against regressions. LZ4 stores random data as one
// literal run, while every block here needs its scan.
VQ_RATIO("PackBlocks random vs LZ4 compress", "BM_PackBlocks/random", "BM_PackerLZ4Compress/random", 0.02);
VQ_RATIO("UnpackBlocks random vs LZ4 decompress", "BM_UnpackBlocks/random", "BM_PackerLZ4Decompress/random",
         0.05);
VQ_RATIO("PackBlocks English vs memcpy", "BM_PackBlocks/english", "BM_PackerMemcpy/english", 0.01);
VQ_RATIO("UnpackBlocks English vs memcpy", "BM_UnpackBlocks/english", "BM_PackerMemcpy/english", 0.05);
