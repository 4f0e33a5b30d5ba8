// A seeded stream of random choices for the monkey sessions: the same seed gives the same choices, so a
// failing run replays from the seed it printed.
#pragma once

#include <stdint.h>
#include <stdlib.h>
#include <time.h>

struct MonkeyStream {
    uint64_t state;

    // splitmix64: small, and the same on every build.
    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number in [low, high].
    int32_t Between(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(Next() % static_cast<uint64_t>(high - low + 1));
    }
    bool OneIn(int32_t n) { return Between(1, n) == 1; }
    // An index into weights[0..n), each chosen in proportion to its weight.
    template <typename Entry> const Entry& Pick(const Entry* entries, size_t n) {
        int32_t total = 0;
        for (size_t i = 0; i < n; i++) total += entries[i].weight;
        int32_t at = Between(0, total - 1);
        for (size_t i = 0;; i++) {
            if ((at -= entries[i].weight) < 0) return entries[i];
        }
    }
};

// SOAK_SEED when set, otherwise the time.
inline uint64_t MonkeySeed() {
    const char* given = getenv("SOAK_SEED");
    return given ? strtoull(given, nullptr, 0) : static_cast<uint64_t>(time(nullptr));
}
