// A benchmark case: a name, the pixels one run covers, and how to set it up. Setting up returns the
// measurement: a callable that runs the case once and returns the seconds it took.
#pragma once

#include "framework/PixelDepth.h"
#include "host/PopupChoices.h"
#include "params/ParamIndex.h"

#include <functional>
#include <string>

namespace OrvaneBench {

using Measure = std::function<double()>;

struct Case {
    std::string name;
    double pixels = 0;
    std::function<Measure()> setUp;
};

enum class Tables { Constant, Color, Both };
// How the keyframes of the tables are interpolated: linear, or eased on both sides (the host solves the
// (time, value) curve for every value requested).
enum class Keys { Linear, Eased };
enum class Size { Uhd, Uhd8k }; // 3840 x 2160, 7680 x 4320

constexpr int kWidth = 3840, kHeight = 2160;
double pixelsOf(Size size);

// The effect's smart render through the host: the loaded module, on 1 host thread or on all of them.
Case frameCase(int depth, int shape, int repeat, Tables tables, bool allThreads, Size size = Size::Uhd);
// The pixel pass alone, colour table, 3840 x 2160: the row painters on one vector path ("sse2", "avx2",
// "avx512"), or "plain": the pixel function through the per-pixel filter; one band on this thread, or
// the filter's bands on all host threads.
Case passCase(const std::string& path, int depth, int shape, int repeat, bool allThreads = false);
// Keyframe sampling: 8,000 value requests on a 16 x 16 frame, and the 3840 x 2160 frame with that ramp;
// with linear or eased keyframes.
Case samplingCase(bool fullFrame, Keys keys = Keys::Linear);
// cairo painting the same gradient with 256 stops onto an ARGB32 surface.
Case cairoCase(int shape, int repeat);
// memset or memcpy of a frame at 4, 8 or 16 bytes per pixel.
Case floorCase(const std::string& what, int bytesPerPixel, Size size = Size::Uhd);

// Every "Shape" and every "Repeat", and their names as the controls show them.
constexpr int kShapes[] = {Orvane::kShapeLinear, Orvane::kShapeRadial};
constexpr int kRepeats[] = {Orvane::kRepeatNone, Orvane::kRepeatLoop, Orvane::kRepeatPingpong};
inline std::string shapeName(int shape) { return OrvaneHost::popupChoiceName(Orvane::kShapeChoices, shape); }
inline std::string repeatName(int repeat) { return OrvaneHost::popupChoiceName(Orvane::kRepeatChoices, repeat); }
inline const char* tablesName(Tables t) {
    return t == Tables::Constant ? "constant" : (t == Tables::Color ? "color" : "both");
}
// Bytes per pixel at `depth` bits per channel.
inline int bytesPerPixel(int depth) { return Orvane::bytesPerPixel(*Orvane::depthOfBits(depth)); }

} // namespace OrvaneBench
