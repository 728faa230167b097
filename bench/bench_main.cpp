// The benchmark program: every bench/*_bench.cpp registers its benchmarks.
// After the usual report it prints the ratios that the speed goals are
// stated in, each from figures of this same run (the median of the
// repetitions when there are several): the intake and the whole monitor
// cycle against one memchr pass over the same reply, and the cost per
// byte of a 1.4 MB reply against that of the 4.9 KB one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            Figure& figure = figures_[run.run_name.function_name];
            if (figure.from_median && !median) continue;
            figure.from_median = median;
            figure.nanoseconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            const auto bytes = run.counters.find("reply_bytes");
            if (bytes != run.counters.end()) figure.bytes = bytes->second.value;
        }
    }

    void PrintRatios() const {
        const Figure* floor = Find("BM_MemchrFloor_4KB");
        const Figure* intake = Find("BM_SetCentroDataTo_4KB");
        const Figure* cycle = Find("BM_MonitorCycle");
        const Figure* large = Find("BM_SetCentroDataTo_1400KB");
        std::printf("\nRatios (CPU time, this run):\n");
        if (floor != nullptr && intake != nullptr) {
            Print("intake of the 4.9 KB reply / memchr floor", intake->nanoseconds / floor->nanoseconds, 20);
        }
        if (floor != nullptr && cycle != nullptr) {
            Print("whole monitor cycle / memchr floor", cycle->nanoseconds / floor->nanoseconds, 35);
        }
        if (intake != nullptr && large != nullptr && intake->bytes > 0 && large->bytes > 0) {
            Print("per byte, 1.4 MB reply / 4.9 KB reply",
                  (large->nanoseconds / large->bytes) / (intake->nanoseconds / intake->bytes), 2);
        }
    }

private:
    struct Figure {
        double nanoseconds = 0;
        double bytes = 0;
        bool from_median = false;
    };

    const Figure* Find(const std::string& name) const {
        const auto found = figures_.find(name);
        return found == figures_.end() || found->second.nanoseconds <= 0 ? nullptr : &found->second;
    }

    static void Print(const char* what, double ratio, double goal) {
        std::printf("  %-44s %7.2f  (goal under %g: %s)\n", what, ratio, goal, ratio < goal ? "met" : "NOT MET");
    }

    std::map<std::string, Figure> figures_;
};

}  // namespace

int main(int argc, char** argv) {
    // The ratios come with the console report; JSON and CSV stay as the
    // library writes them.
    bool console = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--benchmark_format=", 0) == 0 && argument != "--benchmark_format=console") console = false;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!console) {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
