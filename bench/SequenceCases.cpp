#include "SequenceCases.h"

#include <filesystem>

namespace OrvaneBench {

namespace fs = std::filesystem;

namespace {

// The frames' files "f-00.<ext>" ... "f-09.<ext>" in `folder`.
std::vector<std::string> frameFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> files;
    for (int n = 0; n < kSequenceFrames; ++n)
        files.push_back(folder + "/f-" + (n < 10 ? "0" : "") + std::to_string(n) + "." + extension);
    return files;
}

std::string lastFrame() { return "0-" + std::to_string(kSequenceFrames - 1); }

} // namespace

SequenceRun runSequence(const SequenceCase& c) {
    fs::remove_all(c.outputFolder);
    fs::create_directories(c.outputFolder);
    SequenceRun run;
    run.cost = runChild(c.command);
    for (const std::vector<std::string>& next : c.then) {
        const ChildCost more = runChild(next);
        run.cost.wallSeconds += more.wallSeconds;
        run.cost.cpuSeconds += more.cpuSeconds;
    }
    for (const auto& entry : fs::directory_iterator(c.outputFolder)) run.bytes += entry.file_size();
    return run;
}

// The benchmark's ramp (bench/EffectCases.cpp): a diagonal from (200, 300) to (3500, 1900) through three
// "Color" keyframes, at "Opacity" 75.
std::vector<std::string> SequenceCases::rampOptions() {
    return {"--size", "3840x2160", "--point1", "200,300", "--point2", "3500,1900", "--opacity", "75",
            "--color", "0:#ff4000", "--color", "0.75:#00ff80", "--color", "2:#2000ff", "--frames", lastFrame()};
}

SequenceCases::SequenceCases(const std::string& renderPath, const std::string& workspaceFolder)
    : render(renderPath), workspace(workspaceFolder) {
    for (const auto& [extension, depth] : {std::pair<std::string, std::string>{"pam", "8"}, {"pfm", "32"}}) {
        std::vector<std::string> command = {render};
        for (const std::string& option : rampOptions()) command.push_back(option);
        for (const std::string& option : {std::string("--depth"), depth, std::string("-o"), folder("in") + "/f-##." + extension})
            command.push_back(option);
        fs::create_directories(folder("in"));
        runChild(command);
    }
}

std::string SequenceCases::folder(const std::string& name) const { return workspace + "/" + name; }

SequenceCase SequenceCases::orvane(const std::string& what, const std::vector<std::string>& options) const {
    SequenceCase c{"orvane/" + what, {render}, {}, folder("orvane-" + what)};
    for (const std::string& option : rampOptions()) c.command.push_back(option);
    for (const std::string& option : options) c.command.push_back(option);
    const std::string extension = what.substr(0, 3);
    c.command.push_back("-o");
    c.command.push_back(c.outputFolder + "/f-##." + extension);
    return c;
}

SequenceCase SequenceCases::ffmpegPngEncode() const {
    const std::string out = folder("ffmpeg-png");
    return {"ffmpeg/png-encode",
            {"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-i", folder("in") + "/f-%02d.pam", "-c:v", "png",
             out + "/f-%02d.png"},
            {},
            out};
}

SequenceCase SequenceCases::ffmpegGradient() const {
    const std::string out = folder("ffmpeg-gradients");
    // The slowest rotation the source allows, so that its frames are as alike as the effect's.
    return {"ffmpeg/gradients",
            {"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
             "gradients=s=3840x2160:n=3:c0=0xff4000bf:c1=0x00ff80bf:c2=0x2000ffbf:x0=200:y0=300:x1=3500:y1=1900:"
             "speed=0.00001",
             "-frames:v", std::to_string(kSequenceFrames), "-c:v", "png", out + "/f-%02d.png"},
            {},
            out};
}

SequenceCase SequenceCases::copy(const std::string& extension, bool flushed) const {
    const std::string out = folder("cp-" + extension + (flushed ? "-sync" : ""));
    SequenceCase c{std::string("cp") + (flushed ? "+sync/" : "/") + extension, {"cp"}, {}, out};
    for (const std::string& file : frameFiles(folder("in"), extension)) c.command.push_back(file);
    c.command.push_back(out);
    if (flushed) {
        std::vector<std::string> sync = {"sync"};
        for (const std::string& file : frameFiles(out, extension)) sync.push_back(file);
        sync.push_back(out);
        c.then.push_back(sync);
    }
    return c;
}

} // namespace OrvaneBench
