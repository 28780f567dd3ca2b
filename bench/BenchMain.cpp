// orvane-bench: every case in one run, interleaved (so the peer and the floor are measured beside the
// effect, under the same load), the ratios that matter measured in paired rounds, then the summary of
// ratios and targets. Google Benchmark's options (--benchmark_filter and the rest) apply.
#include "BenchResults.h"

#include "framework/VectorPath.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace OrvaneBench {
namespace {

constexpr int kRepetitions = 3;  // runs of a case measured alone
constexpr int kRounds = 9;       // rounds of a pair
constexpr int kShortRounds = 21; // rounds of a pair of cases that take a few milliseconds

std::set<std::string> paired;

void pair(const Case& a, const Case& b, int rounds = kRounds) {
    paired.insert(a.name);
    paired.insert(b.name);
    registerPair(a, b, rounds);
}

void single(const Case& c) {
    if (!paired.count(c.name)) registerCase(c, kRepetitions);
}

std::vector<std::string> pathsRun() {
    std::vector<std::string> paths{"sse2"};
    if (Orvane::runsVectorPath(Orvane::VectorPath::Avx2)) paths.push_back("avx2");
    if (Orvane::runsVectorPath(Orvane::VectorPath::Avx512)) paths.push_back("avx512");
    return paths;
}

void registerAll() {
    for (int shape : kShapes)
        for (int repeat : kRepeats) {
            const Case eight = frameCase(8, shape, repeat, Tables::Color, false);
            pair(eight, cairoCase(shape, repeat));
            for (const std::string& path : pathsRun()) pair(passCase(path, 8, shape, repeat), cairoCase(shape, repeat));
            pair(frameCase(16, shape, repeat, Tables::Color, false), eight);
            pair(frameCase(32, shape, repeat, Tables::Color, false), eight);
            pair(frameCase(8, shape, repeat, Tables::Color, true), eight);
            const std::string fastest = pathsRun().back();
            pair(passCase(fastest, 8, shape, repeat, true), passCase(fastest, 8, shape, repeat));
        }
    for (int depth : {8, 16, 32})
        pair(frameCase(depth, Orvane::kShapeLinear, Orvane::kRepeatNone, Tables::Constant, false), floorCase("memset", bytesPerPixel(depth)), kShortRounds);
    for (int shape : kShapes)
        pair(frameCase(8, shape, 1, Tables::Color, false, Size::Uhd8k), frameCase(8, shape, 1, Tables::Color, false));
    pair(frameCase(8, Orvane::kShapeLinear, Orvane::kRepeatNone, Tables::Constant, false, Size::Uhd8k), frameCase(8, Orvane::kShapeLinear, Orvane::kRepeatNone, Tables::Constant, false));
    pair(floorCase("memset", 4, Size::Uhd8k), floorCase("memset", 4), kShortRounds);
    pair(samplingCase(false), samplingCase(true));
    pair(samplingCase(false, Keys::Eased), samplingCase(false), kShortRounds);

    for (int depth : {8, 16, 32})
        for (int shape : kShapes)
            for (int repeat : kRepeats)
                for (Tables tables : {Tables::Constant, Tables::Color, Tables::Both})
                    for (bool all : {false, true}) single(frameCase(depth, shape, repeat, tables, all));
    for (int shape : kShapes)
        for (int repeat : kRepeats) {
            single(passCase("plain", 8, shape, repeat));
            for (int depth : {16, 32}) single(passCase(pathsRun().back(), depth, shape, repeat));
        }
    for (int bytes : {4, 8, 16}) single(floorCase("memcpy", bytes));
}

} // namespace
} // namespace OrvaneBench

int main(int argc, char** argv) {
    // Interleaved unless asked otherwise: each case's runs spread over the whole run, among the others'.
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    bool chosen = false;
    for (char* arg : args) chosen = chosen || std::strstr(arg, "random_interleaving") != nullptr;
    if (!chosen) args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());

    OrvaneBench::registerAll();
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    OrvaneBench::printSummary();
    return 0;
}
