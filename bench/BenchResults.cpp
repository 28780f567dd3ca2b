#include "BenchResults.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <exception>

namespace OrvaneBench {

namespace {
double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

Results& results() {
    static Results all;
    return all;
}

std::string pairName(const std::string& a, const std::string& b) { return a + " vs " + b; }

void registerCase(const Case& c, int repetitions) {
    results().pixels[c.name] = c.pixels;
    benchmark::RegisterBenchmark(c.name.c_str(),
                                 [c](benchmark::State& state) {
                                     try {
                                         const Measure measure = c.setUp();
                                         for (auto _ : state) {
                                             const double seconds = measure();
                                             results().seconds[c.name].push_back(seconds);
                                             state.SetIterationTime(seconds);
                                         }
                                     } catch (const std::exception& e) {
                                         state.SkipWithError(e.what());
                                     }
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
}

void registerPair(const Case& a, const Case& b, int rounds) {
    results().pixels[a.name] = a.pixels;
    results().pixels[b.name] = b.pixels;
    const std::string name = pairName(a.name, b.name);
    benchmark::RegisterBenchmark(("pair/" + name).c_str(),
                                 [a, b, name](benchmark::State& state) {
                                     try {
                                         const Measure first = a.setUp(), second = b.setUp();
                                         int round = 0;
                                         for (auto _ : state) {
                                             double sa, sb;
                                             if (round++ % 2)
                                                 sb = second(), sa = first();
                                             else
                                                 sa = first(), sb = second();
                                             results().seconds[a.name].push_back(sa);
                                             results().seconds[b.name].push_back(sb);
                                             results().ratios[name].push_back(sa / sb);
                                             state.SetIterationTime(sa + sb);
                                         }
                                         state.counters["ratio"] = median(results().ratios[name]);
                                     } catch (const std::exception& e) {
                                         state.SkipWithError(e.what());
                                     }
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(rounds)
        ->Repetitions(1);
}

double nsPerPixel(const std::string& name) {
    const auto runs = results().seconds.find(name);
    const auto pixels = results().pixels.find(name);
    if (runs == results().seconds.end() || pixels == results().pixels.end() || runs->second.empty()) return -1;
    return median(runs->second) * 1e9 / pixels->second;
}

double ratioOf(const std::string& a, const std::string& b) {
    const auto it = results().ratios.find(pairName(a, b));
    return it == results().ratios.end() ? -1 : median(it->second);
}

std::size_t roundsOf(const std::string& a, const std::string& b) {
    const auto it = results().ratios.find(pairName(a, b));
    return it == results().ratios.end() ? 0 : it->second.size();
}

} // namespace OrvaneBench
