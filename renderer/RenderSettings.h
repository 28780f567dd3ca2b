// Every setting of one orvane-render run as the user gave it, on the command line or in a scene file.
// A field left empty takes the default (or the effect parameter's own value) when the job is resolved.
#pragma once

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

// A plain value (no time) sets the parameter; an entry with a time is a keyframe at that many seconds.
// `written` is the entry as the user wrote it ("1.5:#ff0000"), for messages.
struct ColorEntry {
    std::optional<double> seconds;
    Rgba8 color;
    std::string written;
};
struct OpacityEntry {
    std::optional<double> seconds;
    double percent = 100;
    std::string written;
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
    std::optional<Shape> shape;
    std::optional<Repeat> repeat;
    std::optional<LayerPoint> point1;
    std::optional<LayerPoint> point2;
    std::optional<std::vector<ColorEntry>> colors;
    std::optional<std::vector<OpacityEntry>> opacities;
    std::optional<double> seconds;
    std::optional<double> fps;
    std::optional<FrameRange> frames;
    std::optional<int> threads;
    std::optional<std::uint32_t> timeScale; // host time units per second
    std::optional<bool> pressRefresh;
    std::optional<bool> verbose;
    std::optional<bool> force;              // replace read-only files
    std::optional<bool> skipExisting;       // keep frames whose files exist, render only the missing ones
    std::optional<std::uint64_t> maxMemory; // bytes a frame may need

    // How each given setting is named in messages, by its long option name: "opacity" -> "--opacity", or
    // -> "scene s.json: \"opacity\"" when a scene file gave it.
    std::map<std::string, std::string> sources;
    std::string nameOf(const std::string& option) const;
};

// `overrides` wins field by field; a list given there replaces the whole list of `base`. Settings that
// exclude each other (a time and a frame range; --force and --skip-existing): one given in `overrides`
// drops the other from `base`. A file named as output in `overrides` drops a --format of `base`, which was
// for standard output.
RenderSettings mergeSettings(const RenderSettings& base, const RenderSettings& overrides);

} // namespace OrvaneTools
