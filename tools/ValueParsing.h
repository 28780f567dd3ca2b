// Text forms of orvane-render's option values, shared by the command line and the scene file. Each parser
// takes the value and the name to blame (e.g. "--size"), and throws a usage ToolError that says what was
// expected and what was given.
#pragma once

#include "RenderSettings.h"

#include <string>

namespace OrvaneTools {

// Limits that keep every value inside what the host's 32-bit fields can hold.
constexpr int kMaxLayerSide = 65536;
constexpr double kMaxSeconds = 17000.0; // round(T x 120000) stays below 2^31
constexpr double kMaxPointPixels = 32767.0; // round(v x 65536) fits a signed 16.16 value
constexpr double kMinOpacityPercent = -100.0;
constexpr double kMaxOpacityPercent = 200.0;
constexpr int kMaxThreads = 1024;
constexpr long kMaxTimeScale = 120000; // with kMaxSeconds, every time fits the host's 32-bit time

// Strict decimal numbers: an optional sign, digits, an optional fraction; nothing else.
double parseDecimal(const std::string& text, const std::string& what);
long parseWholeNumber(const std::string& text, const std::string& what);

FrameSize parseSize(const std::string& text, const std::string& what);
int parseDepth(const std::string& text, const std::string& what);
Downsample parseDownsample(const std::string& text, const std::string& what);
Shape parseShape(const std::string& text, const std::string& what);
Repeat parseRepeat(const std::string& text, const std::string& what);
LayerPoint parsePoint(const std::string& text, const std::string& what);
Rgba8 parseColor(const std::string& text, const std::string& what);
ColorEntry parseColorEntry(const std::string& text, const std::string& what);
double parseOpacityPercent(const std::string& text, const std::string& what);
OpacityEntry parseOpacityEntry(const std::string& text, const std::string& what);
double parseSeconds(const std::string& text, const std::string& what);
double parseFps(const std::string& text, const std::string& what);
FrameRange parseFrames(const std::string& text, const std::string& what);
int parseThreads(const std::string& text, const std::string& what);
std::uint32_t parseTimeScale(const std::string& text, const std::string& what);

// Range checks for values that arrive as numbers (from a scene file) rather than text.
double checkedSeconds(double seconds, const std::string& what);
double checkedFps(double fps, const std::string& what);
double checkedOpacityPercent(double percent, const std::string& what);
LayerPoint checkedPoint(LayerPoint point, const std::string& what);
int checkedDepth(long depth, const std::string& what);
int checkedThreads(long threads, const std::string& what);
std::uint32_t checkedTimeScale(long scale, const std::string& what);

} // namespace OrvaneTools
