// The summary after the run: the machine and its load, ns per pixel of every case, and each target with
// its measured figure (a median of per-round ratios where the case was paired) and "met" or "not met".
#include "BenchResults.h"

#include "framework/VectorPath.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace OrvaneBench {

namespace {

const char* pathLabel(Orvane::VectorPath path) {
    switch (path) {
    case Orvane::VectorPath::Avx512:
        return "avx512 (AVX-512 F, BW, DQ, VL)";
    case Orvane::VectorPath::Avx2:
        return "avx2";
    default:
        return "sse2";
    }
}

std::string fastestName() {
    const Orvane::VectorPath path = Orvane::fastestVectorPath();
    return path == Orvane::VectorPath::Avx512 ? "avx512" : (path == Orvane::VectorPath::Avx2 ? "avx2" : "sse2");
}

void cell(double value, const char* format = "%9.3f") {
    if (value < 0)
        std::printf("%9s", "-");
    else
        std::printf(format, value);
}

double inverse(double ratio) { return ratio > 0 ? 1 / ratio : -1; }

// "met" when value <= limit (or >= limit when atLeast).
void target(const std::string& what, double value, double limit, bool atLeast = false) {
    const char* verdict =
        value < 0 ? "not measured" : ((atLeast ? value >= limit : value <= limit) ? "met" : "not met");
    std::printf("  %-66s %7.3f  (%s %.2f)  %s\n", what.c_str(), value, atLeast ? ">=" : "<=", limit, verdict);
}

// The largest of the figures (the smallest when atLeast), or negative when any is missing.
double worst(const std::vector<double>& values, bool atLeast = false) {
    if (values.empty() || *std::min_element(values.begin(), values.end()) < 0) return -1;
    return atLeast ? *std::min_element(values.begin(), values.end()) : *std::max_element(values.begin(), values.end());
}

void printTables() {
    std::printf("\nFloor (ns/px):");
    for (int bytes : {4, 8, 16})
        std::printf("  memset %dB %.3f  memcpy %dB %.3f", bytes, nsPerPixel(floorCase("memset", bytes).name), bytes,
                    nsPerPixel(floorCase("memcpy", bytes).name));
    std::printf("\ncairo ARGB32, 256 stops, operator SOURCE (ns/px):");
    for (int shape : kShapes)
        for (int repeat : kRepeats)
            std::printf("  %s %s %.3f", shapeName(shape).c_str(), repeatName(repeat).c_str(),
                        nsPerPixel(cairoCase(shape, repeat).name));

    std::printf("\n\nEffect smart render (ns/px; speed-up: 1 thread / all threads)\n");
    std::printf("%-5s %-7s %-9s %-9s %9s %9s %9s\n", "depth", "shape", "repeat", "tables", "1 thread", "all",
                "speed-up");
    for (int depth : {8, 16, 32})
        for (int shape : kShapes)
            for (int repeat : kRepeats)
                for (Tables tables : {Tables::Constant, Tables::Color, Tables::Both}) {
                    const double one = nsPerPixel(frameCase(depth, shape, repeat, tables, false).name);
                    const double all = nsPerPixel(frameCase(depth, shape, repeat, tables, true).name);
                    std::printf("%-5d %-7s %-9s %-9s", depth, shapeName(shape).c_str(), repeatName(repeat).c_str(), tablesName(tables));
                    cell(one);
                    cell(all);
                    cell(one < 0 || all <= 0 ? -1 : one / all, "%9.2f");
                    std::printf("\n");
                }
    std::printf("\n7680x4320, 8-bit, 1 thread (ns/px; growth: the 8K frame's time / the 4K frame's)\n");
    for (Tables tables : {Tables::Constant, Tables::Color})
        for (int shape : kShapes)
            if (tables == Tables::Color || shape == Orvane::kShapeLinear)
                std::printf("  %-7s None %-9s %7.3f   growth %.2f\n", shapeName(shape).c_str(), tablesName(tables),
                            nsPerPixel(frameCase(8, shape, 1, tables, false, Size::Uhd8k).name),
                            ratioOf(frameCase(8, shape, 1, tables, false, Size::Uhd8k).name,
                                    frameCase(8, shape, 1, tables, false).name));
    std::printf("  memset 4 bytes a pixel     %7.3f   growth %.2f\n",
                nsPerPixel(floorCase("memset", 4, Size::Uhd8k).name),
                ratioOf(floorCase("memset", 4, Size::Uhd8k).name, floorCase("memset", 4).name));

    std::printf("\nPixel pass alone, colour table (ns/px): one thread on each path; all threads on the fastest\n");
    std::printf("%-5s %-7s %-9s %9s %9s %9s %9s %9s\n", "depth", "shape", "repeat", "plain", "sse2", "avx2", "avx512",
                "all");
    for (int depth : {8, 16, 32})
        for (int shape : kShapes)
            for (int repeat : kRepeats) {
                std::printf("%-5d %-7s %-9s", depth, shapeName(shape).c_str(), repeatName(repeat).c_str());
                for (const char* path : {"plain", "sse2", "avx2", "avx512"})
                    cell(nsPerPixel(passCase(path, depth, shape, repeat).name));
                cell(nsPerPixel(passCase(fastestName(), depth, shape, repeat, true).name));
                std::printf("\n");
            }
    const double small = nsPerPixel(samplingCase(false).name), full = nsPerPixel(samplingCase(true).name);
    const double eased = nsPerPixel(samplingCase(false, Keys::Eased).name);
    std::printf("\nKeyframe sampling: 8000 value requests in %.3f ms (16x16 frame), %.3f ms with eased keyframes; the "
                "3840x2160 frame with that ramp %.3f ms, all threads\n",
                small < 0 ? -1 : small * 256 / 1e6, eased < 0 ? -1 : eased * 256 / 1e6,
                full < 0 ? -1 : full * pixelsOf(Size::Uhd) / 1e6);
}

void printTargets() {
    const Orvane::VectorPath machine = Orvane::fastestVectorPath();
    std::printf("\nTargets (per host thread, 3840x2160, medians of per-round ratios over %zu rounds)\n",
                roundsOf(frameCase(8, Orvane::kShapeLinear, Orvane::kRepeatNone, Tables::Color, false).name, cairoCase(Orvane::kShapeLinear, Orvane::kRepeatNone).name));
    struct PathLimit {
        std::string label, pass;
        double linear, radial;
    };
    const PathLimit limits[] = {{std::string("smart render on ") + pathLabel(machine), "", 0.25, 0.20},
                                {"pixel pass on avx2", "avx2", 0.25, 0.20},
                                {"pixel pass on sse2", "sse2", 0.6, 0.5}};
    for (const PathLimit& limit : limits)
        for (int shape : kShapes)
            for (int repeat : kRepeats) {
                const std::string ours = limit.pass.empty() ? frameCase(8, shape, repeat, Tables::Color, false).name
                                                            : passCase(limit.pass, 8, shape, repeat).name;
                target("8-bit colour table, " + limit.label + ", " + shapeName(shape) + " " + repeatName(repeat) +
                           " / cairo",
                       ratioOf(ours, cairoCase(shape, repeat).name), shape == Orvane::kShapeRadial ? limit.radial : limit.linear);
            }
    std::vector<double> constant, sixteen, thirtyTwo, speedUp, passSpeedUp, growth;
    for (int depth : {8, 16, 32})
        constant.push_back(ratioOf(frameCase(depth, Orvane::kShapeLinear, Orvane::kRepeatNone, Tables::Constant, false).name,
                                   floorCase("memset", bytesPerPixel(depth)).name));
    target("constant colour and opacity / memset of the same frame, worst depth", worst(constant), 2.0);
    for (int shape : kShapes)
        for (int repeat : kRepeats) {
            const std::string eight = frameCase(8, shape, repeat, Tables::Color, false).name;
            sixteen.push_back(ratioOf(frameCase(16, shape, repeat, Tables::Color, false).name, eight));
            thirtyTwo.push_back(ratioOf(frameCase(32, shape, repeat, Tables::Color, false).name, eight));
            speedUp.push_back(inverse(ratioOf(frameCase(8, shape, repeat, Tables::Color, true).name, eight)));
            passSpeedUp.push_back(inverse(ratioOf(passCase(fastestName(), 8, shape, repeat, true).name,
                                                  passCase(fastestName(), 8, shape, repeat).name)));
        }
    target("16-bit / 8-bit, colour table, worst shape and mode", worst(sixteen), 1.5);
    target("32-bit / 8-bit, colour table, worst shape and mode", worst(thirtyTwo), 1.5);
    const std::string threads = std::to_string(std::thread::hardware_concurrency()) + " host threads";
    target("speed-up with " + threads + ", smart render, 8-bit colour table, worst (quiet machine)",
           worst(speedUp, true), 1.8, true);
    target("speed-up with " + threads + ", pixel pass, 8-bit colour table, worst (quiet machine)",
           worst(passSpeedUp, true), 1.8, true);
    for (int shape : kShapes)
        growth.push_back(ratioOf(frameCase(8, shape, 1, Tables::Color, false, Size::Uhd8k).name,
                                 frameCase(8, shape, 1, Tables::Color, false).name));
    target("7680x4320 / 3840x2160, 8-bit, colour table, worst", worst(growth), 4.4);
    target("keyframe sampling (8000 requests) / frame render, all threads",
           ratioOf(samplingCase(false).name, samplingCase(true).name), 0.05);
    target("keyframe sampling (8000 requests), eased / linear keyframes",
           ratioOf(samplingCase(false, Keys::Eased).name, samplingCase(false).name), 2.0);
}

} // namespace

void printSummary() {
    const std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    double load[3] = {-1, -1, -1};
    getloadavg(load, 3);
    std::printf("\nSummary, %dx%d, %s, %u hardware threads, load average %.2f %.2f %.2f, vector path %s\n", kWidth,
                kHeight, date, std::thread::hardware_concurrency(), load[0], load[1], load[2],
                pathLabel(Orvane::fastestVectorPath()));
    printTables();
    printTargets();
}

} // namespace OrvaneBench
