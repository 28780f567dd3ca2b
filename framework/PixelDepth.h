// Channel-depth codes shared by the worlds, the filter and the render, and what each depth is to the host:
// bits per channel and bytes per pixel (four channels). Every other folder reads these facts here.
#pragma once

#include "../sdk/host_sdk.h"

#include <optional>

namespace Orvane {

enum PixelDepth : int {
    Depth8 = 0,  // PF_Pixel8, 0..255
    Depth16 = 1, // PF_Pixel16, 0..32768
    Depth32 = 2  // PF_PixelFloat, 0.0..1.0 nominal
};

// Any other code names no depth; nothing is drawn at it.
constexpr bool isPixelDepth(int depth) { return depth >= Depth8 && depth <= Depth32; }

struct DepthFacts {
    int bitsPerChannel;
    int bytesPerPixel;
};
constexpr DepthFacts kDepthFacts[] = {
    {8, int(sizeof(PF_Pixel8))}, {16, int(sizeof(PF_Pixel16))}, {32, int(sizeof(PF_PixelFloat))}};

constexpr int bitsPerChannel(PixelDepth depth) { return kDepthFacts[depth].bitsPerChannel; }
constexpr int bytesPerPixel(PixelDepth depth) { return kDepthFacts[depth].bytesPerPixel; }

// The depth whose channels have `bits` bits, if there is one.
constexpr std::optional<PixelDepth> depthOfBits(int bits) {
    for (int depth = Depth8; depth <= Depth32; ++depth)
        if (kDepthFacts[depth].bitsPerChannel == bits) return PixelDepth(depth);
    return std::nullopt;
}

} // namespace Orvane
