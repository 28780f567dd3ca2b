// Text forms of orvane-render's option values, shared by the command line and the scene file. Each parser
// takes the value and the name to blame (e.g. "--size"), and throws a usage ToolError that says what was
// expected and repeats what was given: "--opacity: expected a percentage from -100 to 200, got '200.5'".
#pragma once

#include "RenderSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvaneTools {

// Limits that keep every value inside what the host's 32-bit fields can hold.
constexpr double kMaxSeconds = 17000.0; // round(T x 120000) stays below 2^31
constexpr double kMaxPointPixels = 32767.0; // round(v x 65536) fits a signed 16.16 value
// A layer's side: every point of a wider layer could not be addressed (its default "Point 2" sits at the
// layer's width), and a downsampled layer's buffers are a grid in the same layer pixels. A factor beyond it
// leaves a side of one pixel, as the largest does.
constexpr int kMaxLayerSide = static_cast<int>(kMaxPointPixels);
constexpr double kMinOpacityPercent = -100.0;
constexpr double kMaxOpacityPercent = 200.0;
constexpr int kMaxThreads = 1024;
constexpr long kMaxTimeScale = 120000; // with kMaxSeconds, every time fits the host's 32-bit time

// Decimal numbers: an optional sign, digits with an optional fraction, an optional exponent (1e3, 2.5E-1);
// nothing else (no spaces, no hexadecimal, no inf or nan).
double parseDecimal(const std::string& text, const std::string& what);
// Digits only.
long parseWholeNumber(const std::string& text, const std::string& what);

FrameSize parseSize(const std::string& text, const std::string& what);
int parseDepth(const std::string& text, const std::string& what);
Downsample parseDownsample(const std::string& text, const std::string& what);
// A popup's choices as lower-case names, in value order ("linear", "radial").
std::vector<std::string> choiceNames(const char* choices);
Shape parseShape(const std::string& text, const std::string& what);
Repeat parseRepeat(const std::string& text, const std::string& what);
LayerPoint parsePoint(const std::string& text, const std::string& what);
Rgba8 parseColor(const std::string& text, const std::string& what);
double parseOpacityPercent(const std::string& text, const std::string& what);
double parseSeconds(const std::string& text, const std::string& what);
double parseFps(const std::string& text, const std::string& what);
FrameRange parseFrames(const std::string& text, const std::string& what);
int parseThreads(const std::string& text, const std::string& what);
std::uint32_t parseTimeScale(const std::string& text, const std::string& what);
// Bytes: a number with an optional unit K, M, G or T (powers of 1024; "KiB", "GB" and the like also read),
// e.g. "512M", "1.5G", "4GiB", "1073741824".
std::uint64_t parseMemorySize(const std::string& text, const std::string& what);

} // namespace OrvaneTools
