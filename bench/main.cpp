// Runs every benchmark once, then prints each declared ratio against its same-run reference.
#include <benchmark/benchmark.h>
#include <stdio.h>

#include <map>
#include <string>
#include <vector>

#include "bench/ratios.h"

static std::vector<RatioEntry>& Ratios() {
    static std::vector<RatioEntry> entries;
    return entries;
}

RatioRegistrar::RatioRegistrar(const char* title, const char* subject, const char* reference, double target) {
    Ratios().push_back({title, subject, reference, target});
}

namespace {
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> nanoseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration && run.aggregate_name != "median") continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            nanoseconds[name] =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        }
    }
};
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printf("\n%-62s %12s %12s %8s %8s\n", "ratio (speed = reference CPU time / own)", "own ns", "ref ns",
           "speed", "target");
    int missed = 0;
    for (const RatioEntry& e : Ratios()) {
        auto s = reporter.nanoseconds.find(e.subject), r = reporter.nanoseconds.find(e.reference);
        if (s == reporter.nanoseconds.end() || r == reporter.nanoseconds.end()) continue;
        double speed = r->second / s->second;
        bool ok = speed >= e.target;
        missed += !ok;
        printf("%-62s %12.1f %12.1f %7.2fx %7.2fx %s\n", e.title, s->second, r->second, speed, e.target,
               ok ? "" : "MISSED");
    }
    printf("%d ratio(s) below target\n", missed);
    benchmark::Shutdown();
    return 0;
}
