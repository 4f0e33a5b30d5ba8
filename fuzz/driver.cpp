// Replays a fuzz target's seed corpus and a fixed series of pseudo-random inputs, so that every target
// also runs as an ordinary regression test.
#include <dirent.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int RunFile(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::vector<uint8_t> bytes;
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 1;
}

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; i++) {
        DIR* dir = opendir(argv[i]);
        if (!dir) {
            files += RunFile(argv[i]);
            continue;
        }
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            files += RunFile(std::string(argv[i]) + "/" + entry->d_name);
        }
        closedir(dir);
    }
    const char* env = getenv("VQ_FUZZ_RUNS");
    int runs = env ? atoi(env) : 2000;
    uint64_t state = 0x9E3779B97F4A7C15ull;
    std::vector<uint8_t> input;
    for (int run = 0; run < runs; run++) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        size_t size = static_cast<size_t>((state >> 33) % 1024);
        input.resize(size);
        for (size_t i = 0; i < size; i++) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            input[i] = static_cast<uint8_t>(state >> 56);
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    printf("%d corpus files, %d random inputs: no fault\n", files, runs);
    return 0;
}
