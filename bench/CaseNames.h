// The names of the benchmark's cases, shared by their registration and the summary.
#pragma once

#include <string>

namespace OrvaneBench {

inline const char* shapeName(int shape) { return shape == 2 ? "Radial" : "Linear"; }
inline const char* repeatName(int repeat) { return repeat == 2 ? "Loop" : (repeat == 3 ? "Pingpong" : "None"); }
// 0: constant colour and opacity, 1: a colour table, 2: colour and opacity tables.
inline const char* variantName(int variant) { return variant == 0 ? "constant" : (variant == 1 ? "color" : "both"); }

inline std::string frameCase(int depth, int shape, int repeat, int variant, bool allThreads) {
    return std::string("frame/") + std::to_string(depth) + "/" + shapeName(shape) + "/" + repeatName(repeat) + "/" +
           variantName(variant) + (allThreads ? "/threads:all" : "/threads:1");
}
inline std::string passCase(int depth, int shape, int repeat, int variant) {
    return std::string("pass/") + std::to_string(depth) + "/" + shapeName(shape) + "/" + repeatName(repeat) + "/" +
           variantName(variant);
}
inline std::string cairoCase(int shape, int repeat, int stops) {
    return std::string("cairo/") + shapeName(shape) + "/" + repeatName(repeat) + "/stops:" + std::to_string(stops);
}
inline std::string floorCase(const char* what, int bytesPerPixel) {
    return std::string(what) + "/" + std::to_string(bytesPerPixel) + "B";
}
inline const char* kSamplingCase = "sampling/4000px-ramp-both-keyframed";
inline const char* kSamplingFrameCase = "sampling/frame-with-that-ramp";

// Bytes per pixel of a depth in bits per channel.
inline int bytesPerPixel(int depth) { return depth == 8 ? 4 : (depth == 16 ? 8 : 16); }

} // namespace OrvaneBench
