// Every setting of one orvane-render run as the user gave it, on the command line or in a scene file.
// A field left empty takes the default (or the effect parameter's own value) when the job is resolved.
#pragma once

#include "KeyframeEntries.h"
#include "EncodingSettings.h"

#include "params/ParamIndex.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace OrvaneTools {

struct ImageFormat;

// Popup values of the effect's "Shape" and "Repeat" parameters.
using Shape = Orvane::ShapeChoice;
using Repeat = Orvane::RepeatChoice;

struct FrameSize {
    int width = 0;
    int height = 0;
};

// Buffers are 1/x of the layer horizontally and 1/y vertically.
struct Downsample {
    int x = 1;
    int y = 1;
};

// Layer pixels at full resolution.
struct LayerPoint {
    double x = 0;
    double y = 0;
};

struct Rgba8 {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 255;
};

struct FrameRange {
    long first = 0;
    long last = 0;
};

struct RenderSettings {
    std::optional<std::string> module; // from the command line or ORVANE_MODULE only, never from a scene
    std::optional<std::string> output;     // "-" for standard output
    const ImageFormat* format = nullptr;   // --format: how frames go to standard output (ImageFormat.h)
    std::optional<FrameSize> size;
    std::optional<int> depth;
    std::optional<Downsample> downsample;
    // The effect's controls by parameter index: the entries of each option that sets one (--shape, --point1,
    // --point2, --repeat, --color, --opacity; renderer/KeyframeEntries.h): a plain value or keyframes.
    std::map<PF_ParamIndex, std::vector<ControlEntry>> controls;
    std::optional<double> seconds;
    std::optional<double> fps;
    std::optional<FrameRange> frames;
    std::optional<int> threads;
    std::optional<std::uint32_t> timeScale; // host time units per second
    std::optional<bool> pressRefresh;
    std::optional<bool> verbose;
    std::optional<bool> force;              // replace read-only files
    std::optional<bool> skipExisting;       // keep frames whose files exist, render only the missing ones
    std::optional<std::uint64_t> maxMemory; // bytes the frames in flight may take
    std::optional<PngCompression> pngCompression;
    std::optional<ExrCompression> exrCompression;
    std::optional<bool> half;               // EXR samples as half floats

    // How each given setting is named in messages, by its long option name: "opacity" -> "--opacity", or
    // -> "scene s.json: \"opacity\"" when a scene file gave it.
    std::map<std::string, std::string> sources;
    std::string nameOf(const std::string& option) const;
};

// `overrides` wins field by field; a list given there replaces the whole list of `base`. Settings that
// exclude each other (a time and a frame range; --force and --skip-existing): one given in `overrides`
// drops the other from `base`. A file named as output in `overrides` drops a --format of `base`, which was
// for standard output, and the settings of `base` for another format than the file's.
RenderSettings mergeSettings(const RenderSettings& base, const RenderSettings& overrides);

} // namespace OrvaneTools
