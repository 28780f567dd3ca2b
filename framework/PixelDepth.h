// Channel-depth codes shared by the worlds, the filter and the render.
#pragma once

namespace Orvane {

enum PixelDepth : int {
    Depth8 = 0,  // PF_Pixel8, 4 bytes, 0..255
    Depth16 = 1, // PF_Pixel16, 8 bytes, 0..32768
    Depth32 = 2  // PF_PixelFloat, 16 bytes, 0.0..1.0 nominal
};

// Any other code names no depth; nothing is drawn at it.
constexpr bool isPixelDepth(int depth) { return depth >= Depth8 && depth <= Depth32; }

} // namespace Orvane
