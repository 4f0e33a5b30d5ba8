// Benchmarks are reported against a reference measured in the same run. Each file declares its pairs.
#pragma once

struct RatioEntry {
    const char* title;
    const char* subject;   // benchmark name
    const char* reference; // benchmark name
    double target;         // wanted speed: reference time / subject time >= target
};

struct RatioRegistrar {
    RatioRegistrar(const char* title, const char* subject, const char* reference, double target);
};

#define VQ_CONCAT_INNER(a, b) a##b
#define VQ_CONCAT(a, b) VQ_CONCAT_INNER(a, b)
// Speed of `subject` relative to `reference`; target is the least acceptable speed ratio.
#define VQ_RATIO(title, subject, reference, target)                                                          \
    static RatioRegistrar VQ_CONCAT(ratioRegistrar, __LINE__)(title, subject, reference, target)
