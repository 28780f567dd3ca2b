// orvane-bench-sequences: ten 3840 x 2160 frames of the benchmark ramp written by the built orvane-render as
// a user runs it, in every format and EXR compression, beside ffmpeg (its PNG encoder on the same pixels and
// its own gradient source, when it is installed) and `cp` of the same files. The ratios are taken within
// rounds that run both sides one after the other, in alternating order, and their medians are reported, so
// that load which comes and goes moves them little. Then the targets, each met or not.
//
//   build/bench/orvane-bench-sequences [--rounds N] [--render PATH]
#include "SequenceCases.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace OrvaneBench {

namespace {

struct Figures {
    std::map<std::string, std::vector<SequenceRun>> runs;
    std::map<std::string, std::vector<double>> wallRatios, cpuRatios; // "a vs b": a's / b's, per round
};

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <class Field> double medianOf(const std::vector<SequenceRun>& runs, Field field) {
    std::vector<double> values;
    for (const SequenceRun& run : runs) values.push_back(field(run));
    return median(values);
}

std::string pairName(const SequenceCase& a, const SequenceCase& b) { return a.name + " vs " + b.name; }

SequenceRun measure(Figures& figures, const SequenceCase& c) {
    const SequenceRun run = runSequence(c);
    figures.runs[c.name].push_back(run);
    return run;
}

void pair(Figures& figures, const SequenceCase& a, const SequenceCase& b, int rounds) {
    std::printf("  %s, %d rounds\n", pairName(a, b).c_str(), rounds);
    std::fflush(stdout);
    for (int round = 0; round < rounds; ++round) {
        SequenceRun ra, rb;
        if (round % 2) {
            rb = measure(figures, b);
            ra = measure(figures, a);
        } else {
            ra = measure(figures, a);
            rb = measure(figures, b);
        }
        figures.wallRatios[pairName(a, b)].push_back(ra.cost.wallSeconds / rb.cost.wallSeconds);
        figures.cpuRatios[pairName(a, b)].push_back(ra.cost.cpuSeconds / rb.cost.cpuSeconds);
    }
}

void single(Figures& figures, const SequenceCase& c, int rounds) {
    std::printf("  %s, %d rounds\n", c.name.c_str(), rounds);
    std::fflush(stdout);
    for (int round = 0; round < rounds; ++round) measure(figures, c);
}

std::string loadText() {
    double load[3] = {-1, -1, -1};
    if (getloadavg(load, 3) != 3) return "unknown";
    char text[64];
    std::snprintf(text, sizeof(text), "%.2f %.2f %.2f", load[0], load[1], load[2]);
    return text;
}

void printCases(const Figures& figures) {
    std::printf("\n%-26s %12s %12s %14s %8s\n", "case (10 frames)", "wall s/frame", "CPU s/frame", "bytes/frame", "MB/s");
    for (const auto& [name, runs] : figures.runs) {
        const double wall = medianOf(runs, [](const SequenceRun& r) { return r.cost.wallSeconds; });
        const double cpu = medianOf(runs, [](const SequenceRun& r) { return r.cost.cpuSeconds; });
        const double bytes = medianOf(runs, [](const SequenceRun& r) { return double(r.bytes); });
        std::printf("%-26s %12.3f %12.3f %14.0f %8.0f\n", name.c_str(), wall / kSequenceFrames, cpu / kSequenceFrames,
                    bytes / kSequenceFrames, bytes / wall / 1e6);
    }
}

void target(const std::string& what, double value, double limit, bool atLeast = false) {
    const char* verdict =
        value < 0 ? "not measured" : ((atLeast ? value >= limit : value <= limit) ? "met" : "not met");
    std::printf("  %-72s %7.3f  (%s %.2f)  %s\n", what.c_str(), value, atLeast ? ">=" : "<=", limit, verdict);
}

double ratio(const std::map<std::string, std::vector<double>>& ratios, const SequenceCase& a, const SequenceCase& b) {
    const auto it = ratios.find(pairName(a, b));
    return it == ratios.end() ? -1 : median(it->second);
}

double sizeRatio(const Figures& figures, const SequenceCase& a, const SequenceCase& b) {
    const auto ra = figures.runs.find(a.name), rb = figures.runs.find(b.name);
    if (ra == figures.runs.end() || rb == figures.runs.end()) return -1;
    const auto bytes = [](const SequenceRun& r) { return double(r.bytes); };
    return medianOf(ra->second, bytes) / medianOf(rb->second, bytes);
}

double secondsPerFrame(const Figures& figures, const SequenceCase& c) {
    const auto it = figures.runs.find(c.name);
    if (it == figures.runs.end()) return -1;
    return medianOf(it->second, [](const SequenceRun& r) { return r.cost.wallSeconds; }) / kSequenceFrames;
}

// The most memory orvane-render holds for 1 and for 1,000 frames of 640 x 360 with two "Color" keyframes.
void memoryCheck(const std::string& render, const std::string& workspace) {
    long peak[2] = {0, 0};
    const std::string frames[2] = {"0-0", "0-999"};
    for (int i = 0; i < 2; ++i) {
        const std::string out = workspace + "/memory";
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        peak[i] = runChild({render, "--size", "640x360", "--color", "0:#203060", "--color", "9:#f0c040", "--frames",
                            frames[i], "-o", out + "/f-####.png"})
                      .peakKilobytes;
    }
    std::printf("\nPeak memory at 640x360: 1 frame %ld KB, 1,000 frames %ld KB\n", peak[0], peak[1]);
    target("peak memory, 1,000 frames - 1 frame, MB", double(peak[1] - peak[0]) / 1024, 10);
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    return text;
}

int run(int argc, char** argv) {
    int rounds = 5;
    std::string render = ORVANE_RENDER_PATH;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--render") && i + 1 < argc) render = argv[++i];
        else throw std::runtime_error(std::string("unknown argument ") + argv[i] + " (--rounds N, --render PATH)");
    }
    const std::string loadBefore = loadText();
    char pattern[] = "/tmp/orvane-bench-sequences-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a workspace in /tmp");
    const std::string workspace = pattern;
    struct Cleanup {
        std::string folder;
        ~Cleanup() { std::filesystem::remove_all(folder); }
    } cleanup{workspace};
    setenv("ORVANE_MODULE", ORVANE_MODULE_PATH, 0);

    std::printf("orvane-bench-sequences: %s, %u hardware threads, load average %s; %s\n", utcNow().c_str(),
                std::thread::hardware_concurrency(), loadBefore.c_str(), render.c_str());
    const SequenceCases cases(render, workspace);
    const bool ffmpeg = programFound("ffmpeg");
    Figures figures;
    const SequenceCase png = cases.orvane("png8", {});
    const SequenceCase pam = cases.orvane("pam8", {});
    const SequenceCase pfm = cases.orvane("pfm32", {"--depth", "32"});
    if (ffmpeg) {
        pair(figures, png, cases.ffmpegPngEncode(), rounds);
        pair(figures, png, cases.ffmpegGradient(), rounds);
    } else {
        std::printf("  ffmpeg is not installed: no peer (ORVANE_WITH_BENCH_PEERS=1 tools/install-deps installs it)\n");
        single(figures, png, rounds);
    }
    pair(figures, pam, cases.copy("pam", false), rounds);
    pair(figures, pfm, cases.copy("pfm", false), rounds);
    pair(figures, pam, cases.copy("pam", true), rounds);
    pair(figures, pfm, cases.copy("pfm", true), rounds);
    const int fewer = std::min(3, rounds); // the cases measured alone, for their figures
    single(figures, cases.orvane("png8-fast", {"--png-compression", "fast"}), fewer);
    single(figures, cases.orvane("png8-small", {"--png-compression", "small"}), 1);
    single(figures, cases.orvane("png16", {"--depth", "16"}), fewer);
    const std::vector<std::string> compressions = {"none", "rle", "zips", "zip", "piz", "pxr24", "b44", "b44a", "dwaa", "dwab"};
    for (const std::string& compression : compressions)
        single(figures, cases.orvane("exr32-" + compression, {"--depth", "32", "--exr-compression", compression}), fewer);
    single(figures, cases.orvane("exr32-half-zip", {"--depth", "32", "--half"}), fewer);

    printCases(figures);
    std::printf("\nRatios (medians of per-round ratios, %d rounds; wall, CPU)\n", rounds);
    for (const auto& [name, values] : figures.wallRatios)
        std::printf("  %-58s %7.3f %7.3f\n", name.c_str(), median(values), median(figures.cpuRatios.at(name)));
    std::printf("\nTargets (3840x2160, 10 frames)\n");
    target("PNG 8-bit, orvane-render wall / ffmpeg PNG encode of the same pixels",
           ratio(figures.wallRatios, png, cases.ffmpegPngEncode()), 0.5);
    target("PNG size / ffmpeg's, same pixels", sizeRatio(figures, png, cases.ffmpegPngEncode()), 1.0);
    target("EXR depth 32 ZIP, s per frame", secondsPerFrame(figures, cases.orvane("exr32-zip", {})), 0.7);
    target("PAM bytes written per second / cp's (cp wall / orvane-render wall)",
           1 / ratio(figures.wallRatios, pam, cases.copy("pam", false)), 0.8, true);
    target("PFM bytes written per second / cp's", 1 / ratio(figures.wallRatios, pfm, cases.copy("pfm", false)), 0.8, true);
    memoryCheck(render, workspace);
    std::printf("\nload average before %s, after %s\n", loadBefore.c_str(), loadText().c_str());
    return 0;
}

} // namespace

} // namespace OrvaneBench

int main(int argc, char** argv) {
    try {
        return OrvaneBench::run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-bench-sequences: %s\n", e.what());
        return 1;
    }
}
