// The cases of the end-to-end benchmark: ten frames of the effect's benchmark ramp at 3840 x 2160 written by
// the built orvane-render as a user runs it, in each format, and what a user could do instead: ffmpeg's PNG
// encoder reading the PAM files orvane-render wrote, ffmpeg's own gradient source, and `cp` of the files.
#pragma once

#include "ChildRun.h"

#include <string>
#include <vector>

namespace OrvaneBench {

constexpr int kSequenceFrames = 10;

struct SequenceCase {
    std::string name;                 // "orvane/png8"
    std::vector<std::string> command; // what a run is; several commands run one after the other
    std::vector<std::vector<std::string>> then;
    std::string outputFolder;         // emptied before each run; its files are the run's output
};

struct SequenceRun {
    ChildCost cost;
    unsigned long long bytes = 0; // of the files the run wrote
};

// A run of the case from an empty output folder.
SequenceRun runSequence(const SequenceCase& c);

// The cases, with their folders under `workspace`; `render` is the orvane-render to run. Writes the PAM and
// PFM frames the peers read first.
class SequenceCases {
public:
    SequenceCases(const std::string& render, const std::string& workspace);

    // orvane-render writing the ten frames: "png8" (and "png8-fast", "png8-small", "png16"), "pam8",
    // "pfm32", "exr32-<compression>", "exr32-half-zip".
    SequenceCase orvane(const std::string& what, const std::vector<std::string>& options) const;
    SequenceCase ffmpegPngEncode() const; // the PAM frames orvane-render wrote, encoded as PNG
    SequenceCase ffmpegGradient() const;  // ffmpeg's gradient source to PNG
    SequenceCase copy(const std::string& extension, bool flushed) const; // `cp` of the PAM or PFM frames (then `sync`)

    // The ramp's options for orvane-render.
    static std::vector<std::string> rampOptions();

private:
    std::string folder(const std::string& name) const;
    std::string render, workspace;
};

} // namespace OrvaneBench
