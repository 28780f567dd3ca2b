#include "RenderJob.h"

#include "FrameNaming.h"
#include "MemoryBudget.h"
#include "ReplaceCheck.h"
#include "ToolError.h"
#include "ValueParsing.h"

#include "framework/PixelDepth.h"
#include "host/FrameRender.h"
#include "host/ParamStreams.h"
#include "host/Worlds.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <thread>

namespace OrvaneTools {

namespace {

// Two keyframes of one parameter that round to the same time unit, named as they were written.
[[noreturn]] void keyframesCollide(const std::string& what, const std::string& first, const std::string& second,
                                   A_long time, A_u_long scale) {
    throw usageError(what + ": the keyframes '" + first + "' and '" + second + "' both fall on time unit " +
                     std::to_string(time) + " at " + std::to_string(scale) +
                     " units per second; keyframes must lie at least one unit apart (--time-scale sets the units)");
}

void resolveColors(const std::vector<ColorEntry>& entries, const std::string& what, RenderJob& job) {
    std::map<A_long, const std::string*> times;
    for (const ColorEntry& entry : entries) {
        if (!entry.seconds) {
            if (entries.size() > 1)
                throw usageError(what + ": give one plain colour, or keyframes T:C only (a plain colour and "
                                        "keyframes cannot be combined)");
            job.color = entry.color;
            continue;
        }
        const A_long time = OrvaneHost::unitsFromSeconds(*entry.seconds, job.timeScale);
        if (const auto [at, added] = times.emplace(time, &entry.written); !added)
            keyframesCollide(what, *at->second, entry.written, time, job.timeScale);
        job.colorKeyframes.push_back(ColorKeyframe{time, entry.color});
    }
}

void resolveOpacities(const std::vector<OpacityEntry>& entries, const std::string& what, RenderJob& job) {
    std::map<A_long, const std::string*> times;
    for (const OpacityEntry& entry : entries) {
        if (!entry.seconds) {
            if (entries.size() > 1)
                throw usageError(what + ": give one plain opacity, or keyframes T:P only (a plain opacity and "
                                        "keyframes cannot be combined)");
            job.opacity = entry.percent;
            continue;
        }
        const A_long time = OrvaneHost::unitsFromSeconds(*entry.seconds, job.timeScale);
        if (const auto [at, added] = times.emplace(time, &entry.written); !added)
            keyframesCollide(what, *at->second, entry.written, time, job.timeScale);
        job.opacityKeyframes.push_back(OpacityKeyframe{time, entry.percent});
    }
}

// The effect draws every colour opaque and takes the ramp's alpha from "Opacity": an alpha given with a
// colour is said to be unused, once, naming the first colour that has one.
void noteUnusedAlpha(const std::vector<ColorEntry>& entries, const std::string& what, RenderJob& job) {
    const auto withAlpha = [](const ColorEntry& entry) { return entry.color.alpha != 255; };
    const auto first = std::find_if(entries.begin(), entries.end(), withAlpha);
    if (first == entries.end()) return;
    const auto others = std::count_if(first + 1, entries.end(), withAlpha);
    job.notes.push_back(what + " '" + first->written + "'" +
                        (others ? " (and " + std::to_string(others) + " more)" : std::string()) +
                        ": a colour's alpha is not used; the effect takes the ramp's alpha from --opacity");
}

A_long frameTime(long frame, double fps, A_u_long scale) {
    return OrvaneHost::unitsFromSeconds(static_cast<double>(frame) / fps, scale);
}

void resolveFrames(const RenderSettings& settings, RenderJob& job) {
    if (settings.frames && settings.seconds)
        throw usageError(settings.nameOf("time") + " and " + settings.nameOf("frames") + " exclude each other");
    if (!settings.frames) {
        job.singleTime = OrvaneHost::unitsFromSeconds(settings.seconds.value_or(0.0), job.timeScale);
        return;
    }
    job.sequence = true;
    job.frames = *settings.frames;
    const double lastSeconds = static_cast<double>(job.frames.last) / job.fps;
    if (!(lastSeconds <= kMaxSeconds))
        throw usageError(settings.nameOf("frames") + ": frame " + std::to_string(job.frames.last) +
                         " lies beyond 17000 s at " + std::to_string(job.fps) + " frames per second");
    if (job.frameCount() > 1 && !job.toStandardOutput && !hasFrameNumberRun(job.output))
        throw usageError(settings.nameOf("output") + " " + job.output + ": a sequence of frames needs a run of '#' " +
                         "in the file name for the frame number (e.g. ramp-###.png)");
}

void checkOutputFolder(const std::string& path, const std::string& what) {
    const std::string tooLong = nameLengthProblem(path);
    if (!tooLong.empty()) throw usageError(what + " " + path + ": " + tooLong);
    const std::filesystem::path file = std::filesystem::u8path(path);
    if (file.filename().empty()) throw usageError(what + " " + path + ": names a folder, not a file");
    const std::filesystem::path folder = file.parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
        throw usageError(what + " " + path + ": " +
                         (ec == std::errc::filename_too_long ? std::string("the name is longer than the system takes")
                                                             : "the folder " + folder.u8string() + " does not exist"));
    if (std::filesystem::is_directory(file, ec)) throw usageError(what + " " + path + ": is a folder");
}

std::string frameText(int width, int height, int depth) {
    return "a frame of " + std::to_string(width) + "x" + std::to_string(height) + " at depth " + std::to_string(depth);
}

// Refused before the module is loaded: a buffer the host cannot make, and a frame that needs more memory
// than the machine has (or than --max-memory allows), with the estimate.
void checkFrameMemory(const RenderSettings& settings, const RenderJob& job) {
    const int width = OrvaneHost::downsampledSize(job.size.width, PF_RationalScale{1, A_u_long(job.downsample.x)});
    const int height = OrvaneHost::downsampledSize(job.size.height, PF_RationalScale{1, A_u_long(job.downsample.y)});
    const std::uint64_t needed = frameMemoryBytes(width, height, job.depth);
    if (OrvaneHost::checkWorldShape(width, height, job.depth, 0) != PF_Err_NONE) {
        const std::uint64_t pixel = std::uint64_t(Orvane::bytesPerPixel(*Orvane::depthOfBits(job.depth)));
        const std::uint64_t buffer = std::uint64_t(width) * std::uint64_t(height) * pixel;
        throw usageError(settings.nameOf("size") + ": the host cannot make buffers for " +
                         frameText(width, height, job.depth) + " (" + memoryText(buffer) + " each)");
    }
    const MemoryLimit limit = settings.maxMemory ? MemoryLimit{*settings.maxMemory, settings.nameOf("max-memory")}
                                                 : availableMemory();
    if (limit.bytes == 0 || needed <= limit.bytes) return;
    throw usageError(frameText(width, height, job.depth) + " needs about " + memoryText(needed) +
                     " of memory, more than " + limit.what + " (" + memoryText(limit.bytes) + ")" +
                     (settings.maxMemory ? "" : "; --max-memory sets another limit"));
}

// What the file flags mean for the output: --skip-existing keeps every file that exists, so it cannot go
// with --force, which replaces files, nor with standard output, where there are no files.
void resolveFileFlags(const RenderSettings& settings, RenderJob& job) {
    job.replaceReadOnly = settings.force.value_or(false);
    job.skipExisting = settings.skipExisting.value_or(false);
    if (!job.skipExisting) return;
    if (job.replaceReadOnly)
        throw usageError(settings.nameOf("skip-existing") + " and " + settings.nameOf("force") +
                         " exclude each other: the one keeps every existing file, the other replaces files this user may not write");
    if (job.toStandardOutput)
        throw usageError(settings.nameOf("skip-existing") + " keeps the frames whose files exist, but " +
                         settings.nameOf("output") + " - writes no files; name the files, e.g. -o frame-####.png");
}

int machineThreads() {
    const unsigned n = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp<unsigned>(n, 1u, static_cast<unsigned>(kMaxThreads)));
}

} // namespace

FrameToRender RenderJob::frameAt(long k) const {
    if (!sequence) return FrameToRender{0, singleTime, output};
    const long number = frames.first + k;
    return FrameToRender{number, frameTime(number, fps, timeScale), framePath(output, number)};
}

RenderJob resolveJob(const RenderSettings& settings) {
    RenderJob job;
    if (!settings.output)
        throw usageError("no output file: give -o OUT (" + spokenList(writtenFormatNames(), ".") +
                         "), or -o - with --format for standard output");
    job.output = *settings.output;
    job.toStandardOutput = isStandardOutputName(job.output);
    job.depth = settings.depth.value_or(8);
    job.format = &formatForOutput(job.output, settings.format, job.depth, settings.nameOf("output"),
                                 settings.nameOf("format"));
    job.modulePath = settings.module;
    job.size = settings.size.value_or(FrameSize{1920, 1080});
    job.downsample = settings.downsample.value_or(Downsample{1, 1});
    job.shape = settings.shape;
    job.repeat = settings.repeat;
    job.point1 = settings.point1;
    job.point2 = settings.point2;
    job.timeScale = settings.timeScale.value_or(OrvaneHost::kTimeScale);
    if (settings.colors) {
        resolveColors(*settings.colors, settings.nameOf("color"), job);
        noteUnusedAlpha(*settings.colors, settings.nameOf("color"), job);
    }
    if (settings.opacities) resolveOpacities(*settings.opacities, settings.nameOf("opacity"), job);
    job.fps = settings.fps.value_or(30.0);
    job.timeStep = std::max<A_long>(1, OrvaneHost::timeStepForFps(job.fps, job.timeScale));
    resolveFrames(settings, job);
    if (!job.toStandardOutput) checkOutputFolder(job.frameAt(0).path, settings.nameOf("output"));
    resolveFileFlags(settings, job);
    checkFrameMemory(settings, job);
    job.threads = settings.threads.value_or(machineThreads());
    job.pressRefresh = settings.pressRefresh.value_or(false);
    job.verbose = settings.verbose.value_or(false);
    return job;
}

} // namespace OrvaneTools
