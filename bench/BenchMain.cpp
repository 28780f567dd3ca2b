// orvane-bench: every case in one run (so the peer and the floor are measured beside the effect), then the
// summary of ratios and targets. Google Benchmark's options (--benchmark_filter and the rest) apply.
#include "BenchResults.h"

namespace OrvaneBench {
void registerEffectCases();
void registerPeerCases();
} // namespace OrvaneBench

int main(int argc, char** argv) {
    OrvaneBench::registerPeerCases();
    OrvaneBench::registerEffectCases();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    OrvaneBench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    OrvaneBench::printSummary(reporter);
    return 0;
}
