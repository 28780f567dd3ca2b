#include "RenderJob.h"

#include "FrameNaming.h"
#include "HostScene.h"
#include "MemoryBudget.h"
#include "SettingOptions.h"
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

// The effect draws every colour opaque and takes the ramp's alpha from "Opacity": an alpha given with a
// colour is said to be unused, once, naming the first colour that has one.
void noteUnusedAlpha(const std::vector<ControlEntry>& entries, const std::string& what, RenderJob& job) {
    const auto withAlpha = [](const ControlEntry& entry) { return entry.value[0] != 1.0; };
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
// than the machine has (or than --max-memory allows), with the estimate. A sequence then writes as many
// frames at once as fit: on a writer each, one for each thread, or one for standard output, which keeps
// their order.
void checkFrameMemory(const RenderSettings& settings, RenderJob& job) {
    const int width = OrvaneHost::downsampledSize(job.size.width, PF_RationalScale{1, A_u_long(job.downsample.x)});
    const int height = OrvaneHost::downsampledSize(job.size.height, PF_RationalScale{1, A_u_long(job.downsample.y)});
    if (OrvaneHost::checkWorldShape(width, height, job.depth, 0) != PF_Err_NONE) {
        const std::uint64_t pixel = std::uint64_t(Orvane::bytesPerPixel(*Orvane::depthOfBits(job.depth)));
        const std::uint64_t buffer = std::uint64_t(width) * std::uint64_t(height) * pixel;
        throw usageError(settings.nameOf("size") + ": the host cannot make buffers for " +
                         frameText(width, height, job.depth) + " (" + memoryText(buffer) + " each)");
    }
    const std::uint64_t writer = job.format->memory ? job.format->memory(width, height, job.encoding) : 0;
    const FrameMemory memory = frameMemory(width, height, job.depth, writer);
    const std::uint64_t needed = runMemoryBytes(memory, 0);
    const MemoryLimit limit = settings.maxMemory ? MemoryLimit{*settings.maxMemory, settings.nameOf("max-memory")}
                                                 : availableMemory();
    if (limit.bytes != 0 && needed > limit.bytes)
        throw usageError(frameText(width, height, job.depth) + " needs about " + memoryText(needed) +
                         " of memory, more than " + limit.what + " (" + memoryText(limit.bytes) + ")" +
                         (settings.maxMemory ? "" : "; --max-memory sets another limit"));
    const int wanted = job.frameCount() > 1 ? (job.toStandardOutput ? 1 : job.threads) : 0;
    job.framesInFlight = framesInFlightWithin(memory, wanted, limit.bytes);
}

// The encoders' settings, each refused with an output of another format than its own.
void resolveEncoding(const RenderSettings& settings, RenderJob& job) {
    for (const SettingOption& option : settingOptions()) {
        if (!option.format || !settings.sources.count(option.name) || job.format->name == std::string(option.format))
            continue;
        const ImageFormat* own = findImageFormat(option.format);
        throw usageError(settings.nameOf(option.name) + " is for " + (own ? own->title : option.format) +
                         " output, not for " + job.format->title + " (" + settings.nameOf("output") + " " +
                         job.output + (job.toStandardOutput ? " with --format " + std::string(job.format->name) : "") +
                         ")");
    }
    job.encoding.pngCompression = settings.pngCompression.value_or(PngCompression::Default);
    job.encoding.exrCompression = settings.exrCompression.value_or(ExrCompression::Zip);
    job.encoding.half = settings.half.value_or(false);
    job.encoding.threads = job.threads;
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
    job.timeScale = settings.timeScale.value_or(OrvaneHost::kTimeScale);
    job.scene = controlScene(settings, job.timeScale);
    if (const auto colors = settings.controls.find(Orvane::kParamColor); colors != settings.controls.end())
        noteUnusedAlpha(colors->second, settings.nameOf("color"), job);
    job.fps = settings.fps.value_or(30.0);
    job.timeStep = std::max<A_long>(1, OrvaneHost::timeStepForFps(job.fps, job.timeScale));
    resolveFrames(settings, job);
    if (!job.toStandardOutput) checkOutputFolder(job.frameAt(0).path, settings.nameOf("output"));
    resolveFileFlags(settings, job);
    job.threads = settings.threads.value_or(machineThreads());
    resolveEncoding(settings, job);
    checkFrameMemory(settings, job);
    job.pressRefresh = settings.pressRefresh.value_or(false);
    job.verbose = settings.verbose.value_or(false);
    return job;
}

} // namespace OrvaneTools
