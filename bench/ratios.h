// Benchmarks are reported against a reference measured in the same run. Each file declares its pairs; the
// summary compares medians of the repetitions.
#pragma once

enum RatioKind { speedRatio, informationOnly, timeLimit, elapsedFigure };

struct RatioEntry {
    const char* title;
    const char* subject;   // benchmark name
    const char* reference; // benchmark name; null for a time limit
    double target;         // wanted speed (reference time / subject time), or the most nanoseconds
    RatioKind kind;
};

struct RatioRegistrar {
    RatioRegistrar(const char* title, const char* subject, const char* reference, double target,
                   RatioKind kind);
};

#define VQ_CONCAT_INNER(a, b) a##b
#define VQ_CONCAT(a, b) VQ_CONCAT_INNER(a, b)
// Speed of `subject` relative to `reference`; target is the least acceptable speed ratio.
#define VQ_RATIO(title, subject, reference, target)                                                          \
    static RatioRegistrar VQ_CONCAT(ratioRegistrar, __LINE__)(title, subject, reference, target, speedRatio)
// A speed ratio shown for information: nothing is wanted of it.
#define VQ_INFO_RATIO(title, subject, reference)                                                             \
    static RatioRegistrar VQ_CONCAT(ratioRegistrar, __LINE__)(title, subject, reference, 0, informationOnly)
// An absolute goal: the subject's median CPU time stays below nanoseconds.
#define VQ_TIME_LIMIT(title, subject, nanoseconds)                                                           \
    static RatioRegistrar VQ_CONCAT(ratioRegistrar, __LINE__)(title, subject, nullptr, nanoseconds, timeLimit)
// A figure shown for information: the subject's median elapsed time (it measures another process).
#define VQ_ELAPSED_FIGURE(title, subject)                                                                    \
    static RatioRegistrar VQ_CONCAT(ratioRegistrar, __LINE__)(title, subject, nullptr, 0, elapsedFigure)
