// The ramp's row painters, one per vector instruction set, and the plain values they paint from. Each
// painter lives in a file of its own compiled for its instruction set; those files include nothing with
// inline code from the rest of the effect, so no copy compiled for a wider set can stand in for a baseline one.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

enum class RampRepeat : int { None, Loop, Pingpong };

// Everything a row painter reads, as the position function and the pixel function hold it.
struct RampKernelData {
    bool radial;
    RampRepeat repeat;
    double point1X, point1Y;
    double directionX, directionY; // Linear only
    double originX, originY;
    double repeatLength; // the repeat modes' L
    double rampLength;   // the length the tables span
    A_long entryCount;   // entries of each table present, at least 1
    const PF_PixelFloat* colors; // null: every pixel takes `color`
    const float* opacities;      // null: every pixel takes `opacity`
    PF_PixelFloat color;         // alpha unused: the opacity replaces it
    float opacity;
};

// Paint the `width` pixels of row y at `depth` (a PixelDepth code) from `row` on; at least one table is
// present. Each gives, to the bit, what the pixel function and the band loop's conversion give.
void paintRampRowSse2(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);
void paintRampRowAvx2(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);
void paintRampRowAvx512(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);

} // namespace Orvane
