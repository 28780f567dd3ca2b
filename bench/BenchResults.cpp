#include "BenchResults.h"

#include "CaseNames.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>

namespace OrvaneBench {

namespace {
std::map<std::string, double>& pixelsByCase() {
    static std::map<std::string, double> pixels;
    return pixels;
}

double nsMultiplier(benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kSecond:
        return 1e9;
    case benchmark::kMillisecond:
        return 1e6;
    case benchmark::kMicrosecond:
        return 1e3;
    default:
        return 1;
    }
}
} // namespace

void registerPixels(const std::string& name, double pixels) { pixelsByCase()[name] = pixels; }

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred || run.aggregate_name != "median") continue;
        medianNs[run.run_name.function_name] = run.GetAdjustedRealTime() * nsMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
}

double CollectingReporter::nsPerIteration(const std::string& name) const {
    const auto it = medianNs.find(name);
    return it == medianNs.end() ? -1 : it->second;
}

double CollectingReporter::nsPerPixel(const std::string& name) const {
    const double ns = nsPerIteration(name);
    const auto px = pixelsByCase().find(name);
    if (ns < 0 || px == pixelsByCase().end()) return -1;
    return ns / px->second;
}

namespace {

double ratio(double a, double b) { return a < 0 || b <= 0 ? -1 : a / b; }

void printCell(double value, const char* format) {
    if (value < 0) std::printf("%9s", "-");
    else std::printf(format, value);
}

// One target: "met" when value <= limit (or >= limit when atLeast).
void target(const std::string& what, double value, double limit, bool atLeast = false) {
    const char* verdict = value < 0 ? "not measured" : ((atLeast ? value >= limit : value <= limit) ? "met" : "not met");
    std::printf("  %-64s %7.3f  (%s %.2f)  %s\n", what.c_str(), value, atLeast ? ">=" : "<=", limit, verdict);
}

} // namespace

void printSummary(const CollectingReporter& r) {
    const std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    std::printf("\nSummary, %dx%d, medians, %s, %u hardware threads\n", kWidth, kHeight, date,
                std::thread::hardware_concurrency());

    std::printf("\nFloor (ns/px):");
    for (int bytes : {4, 8, 16})
        std::printf("  memset %dB %.3f  memcpy %dB %.3f", bytes, r.nsPerPixel(floorCase("memset", bytes)), bytes,
                    r.nsPerPixel(floorCase("memcpy", bytes)));
    std::printf("\nCairo ARGB32, operator SOURCE (ns/px):\n");
    for (int shape : {1, 2})
        for (int repeat : {1, 2, 3})
            std::printf("  %-7s %-9s 2 stops %7.3f   256 stops %7.3f\n", shapeName(shape), repeatName(repeat),
                        r.nsPerPixel(cairoCase(shape, repeat, 2)), r.nsPerPixel(cairoCase(shape, repeat, 256)));

    std::printf("\nEffect smart render (ns/px; ratios: 1 thread / cairo 256 stops of the same shape and mode,"
                " 1 thread / memcpy at the same bytes per pixel, speed-up with all threads)\n");
    std::printf("%-5s %-7s %-9s %-9s %9s %9s %9s %9s %9s\n", "depth", "shape", "repeat", "tables", "1 thread",
                "all", "/cairo", "/memcpy", "speed-up");
    for (int depth : {8, 16, 32})
        for (int shape : {1, 2})
            for (int repeat : {1, 2, 3})
                for (int variant : {0, 1, 2}) {
                    const double one = r.nsPerPixel(frameCase(depth, shape, repeat, variant, false));
                    const double all = r.nsPerPixel(frameCase(depth, shape, repeat, variant, true));
                    std::printf("%-5d %-7s %-9s %-9s", depth, shapeName(shape), repeatName(repeat),
                                variantName(variant));
                    printCell(one, "%9.3f");
                    printCell(all, "%9.3f");
                    printCell(ratio(one, r.nsPerPixel(cairoCase(shape, repeat, 256))), "%9.3f");
                    printCell(ratio(one, r.nsPerPixel(floorCase("memcpy", bytesPerPixel(depth)))), "%9.2f");
                    printCell(ratio(one, all), "%9.2f");
                    std::printf("\n");
                }
    std::printf("\nPixel pass alone, one thread, colour table (ns/px)\n");
    for (int depth : {8, 16, 32})
        for (int shape : {1, 2})
            for (int repeat : {1, 2, 3})
                std::printf("  %-2d %-7s %-9s %7.3f\n", depth, shapeName(shape), repeatName(repeat),
                            r.nsPerPixel(passCase(depth, shape, repeat, 1)));

    const double samplingMs = r.nsPerIteration(kSamplingCase) / 1e6;
    const double samplingFrameMs = r.nsPerIteration(kSamplingFrameCase) / 1e6;
    std::printf("\nKeyframe sampling: 8000 value requests in %.3f ms (16x16 frame); the 3840x2160 frame with that "
                "ramp %.3f ms\n", samplingMs, samplingFrameMs);

    std::printf("\nTargets (8-bit, colour table, 1 host thread, against cairo with 256 stops)\n");
    for (int shape : {1, 2})
        for (int repeat : {1, 2, 3}) {
            const double one = r.nsPerPixel(frameCase(8, shape, repeat, 1, false));
            target(std::string(shapeName(shape)) + " " + repeatName(repeat) + ": effect / cairo",
                   ratio(one, r.nsPerPixel(cairoCase(shape, repeat, 256))), shape == 2 ? 0.5 : 0.7);
        }
    for (int depth : {16, 32}) {
        double worst = -1;
        for (int shape : {1, 2})
            for (int repeat : {1, 2, 3})
                for (int variant : {1})
                    worst = std::max(worst, ratio(r.nsPerPixel(frameCase(depth, shape, repeat, variant, false)),
                                                  r.nsPerPixel(frameCase(8, shape, repeat, variant, false))));
        target(std::to_string(depth) + "-bit / 8-bit, 1 thread, colour table, worst case", worst, 1.5);
    }
    double slowest = -1;
    for (int depth : {8, 16, 32})
        for (int shape : {1, 2})
            for (int repeat : {1, 2, 3})
                for (int variant : {0, 1, 2}) {
                    const double s = ratio(r.nsPerPixel(frameCase(depth, shape, repeat, variant, false)),
                                           r.nsPerPixel(frameCase(depth, shape, repeat, variant, true)));
                    if (s >= 0) slowest = slowest < 0 ? s : std::min(slowest, s);
                }
    target("speed-up with " + std::to_string(std::thread::hardware_concurrency()) + " host threads, worst case",
           slowest, 1.8, true);
    target("keyframe sampling (8000 requests) / frame render, all threads", ratio(samplingMs, samplingFrameMs), 0.05);
}

} // namespace OrvaneBench
