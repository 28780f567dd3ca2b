// One orvane-render run, resolved from the merged settings: every default filled in and every value
// checked, so that nothing can go wrong for want of a setting once the module is loaded.
#pragma once

#include "ImageFormat.h"
#include "RenderSettings.h"

#include "host/Scene.h"
#include "sdk/host_sdk.h"

#include <optional>
#include <string>
#include <vector>

namespace OrvaneTools {

struct FrameToRender {
    long number;        // the frame number; 0 for a single frame rendered at --time
    A_long time;        // host time units
    std::string path;   // the output file of this frame ("-" for standard output)
};

struct RenderJob {
    std::optional<std::string> modulePath; // --module or ORVANE_MODULE; none: the module beside orvane-render
    std::string output; // as given, with its run of '#' for sequences
    bool toStandardOutput = false; // output "-": every frame goes to standard output, one after another
    const ImageFormat* format = nullptr; // never nullptr once resolved
    FrameSize size{1920, 1080};
    int depth = 8;
    Downsample downsample;
    // The values and keyframes (at host times) the controls are given; a control the scene leaves alone
    // keeps the value the effect registered.
    OrvaneHost::Scene scene;
    double fps = 30;
    A_u_long timeScale = 120000; // host time units per second
    A_long timeStep = 4000;
    bool sequence = false; // --frames given
    FrameRange frames;     // the frames to render (a single frame when not a sequence)
    A_long singleTime = 0; // the time of the single frame
    int threads = 1;
    EncodingSettings encoding;
    int framesInFlight = 0; // frames written on writers of their own while the next renders (0: none)
    bool pressRefresh = false;
    bool verbose = false;
    bool replaceReadOnly = false; // --force
    bool skipExisting = false;    // --skip-existing
    std::vector<std::string> notes; // what the user gave that is not used, said once on standard error

    long frameCount() const { return frames.last - frames.first + 1; }
    // The k-th frame to render, k from 0 to frameCount() - 1.
    FrameToRender frameAt(long k) const;
};

// Throws a usage ToolError naming what is missing, contradictory or out of range, and for a frame the host
// cannot make or that needs more memory than there is (or than --max-memory allows).
RenderJob resolveJob(const RenderSettings& settings);

} // namespace OrvaneTools
