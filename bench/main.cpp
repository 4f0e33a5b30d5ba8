// Runs every benchmark in repetitions (their order shuffled, so that a noisy moment spreads over all of
// them), then prints each declared ratio of medians against its same-run reference, and says which ones
// could not be computed because a benchmark was filtered out.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "bench/ratios.h"
#include "bench/subprocess.h"

static std::vector<RatioEntry>& Ratios() {
    static std::vector<RatioEntry> entries;
    return entries;
}

RatioRegistrar::RatioRegistrar(const char* title, const char* subject, const char* reference, double target,
                               RatioKind kind) {
    Ratios().push_back({title, subject, reference, target, kind});
}

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> nanoseconds; // CPU time: the median of the repetitions, or the single run
    std::map<std::string, double> elapsed;     // the same in real time
    std::map<std::string, int> repetitions;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            double unit = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred ||
                !(median || (run.run_type == Run::RT_Iteration && run.repetitions <= 1)))
                continue;
            nanoseconds[name] = run.GetAdjustedCPUTime() * unit;
            elapsed[name] = run.GetAdjustedRealTime() * unit;
            repetitions[name] = median ? static_cast<int>(run.repetitions) : 1;
        }
    }
};

} // namespace

static bool HasFlag(int argc, char** argv, const char* flag) {
    for (int i = 1; i < argc; i++) {
        if (strncmp(argv[i], flag, strlen(flag)) == 0) return true;
    }
    return false;
}

int main(int argc, char** argv) {
    // A child run of this program measures one thing in a fresh process and prints it.
    if (argc > 1 && strncmp(argv[1], "--child=", 8) == 0) return RunChild(argv[1] + 8);
    SetSelfPath(argv[0]);
    // Medians of repetitions unless told otherwise.
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (!HasFlag(argc, argv, "--benchmark_repetitions")) args.push_back(repetitions);
    if (!HasFlag(argc, argv, "--benchmark_report_aggregates_only")) args.push_back(aggregates);
    if (!HasFlag(argc, argv, "--benchmark_enable_random_interleaving")) args.push_back(interleave);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    printf("\n%-66s %12s %12s %8s %9s\n", "ratio of medians (speed = reference CPU time / own)", "own ns",
           "ref ns", "speed", "target");
    int missed = 0, missing = 0;
    for (const RatioEntry& e : Ratios()) {
        auto s = reporter.nanoseconds.find(e.subject);
        auto r = e.reference ? reporter.nanoseconds.find(e.reference) : reporter.nanoseconds.end();
        const char* absent = s == reporter.nanoseconds.end()                  ? e.subject
                             : e.reference && r == reporter.nanoseconds.end() ? e.reference
                                                                              : nullptr;
        if (absent) {
            missing++;
            printf("%-66s MISSING: %s did not run (filtered out, or it failed)\n", e.title, absent);
            continue;
        }
        if (e.kind == elapsedFigure) {
            printf("%-66s %12.1f %12s %8s %9s\n", e.title, reporter.elapsed[e.subject], "(elapsed)", "",
                   "info");
            continue;
        }
        if (e.kind == timeLimit) {
            bool ok = s->second < e.target;
            missed += !ok;
            printf("%-66s %12.1f %12s %8s  < %5.0fns %s\n", e.title, s->second, "", "", e.target,
                   ok ? "" : "MISSED");
            continue;
        }
        double speed = r->second / s->second;
        if (e.kind == informationOnly) {
            printf("%-66s %12.1f %12.1f %7.3gx %9s\n", e.title, s->second, r->second, speed, "info");
            continue;
        }
        bool ok = speed >= e.target;
        missed += !ok;
        printf("%-66s %12.1f %12.1f %7.3gx %8.3gx %s\n", e.title, s->second, r->second, speed, e.target,
               ok ? "" : "MISSED");
    }
    int shown = 0;
    for (const auto& [name, n] : reporter.repetitions) shown = n > shown ? n : shown;
    printf("%d ratio(s) below target, %d missing; medians of %d repetition(s)\n", missed, missing, shown);
    benchmark::Shutdown();
    return 0;
}
