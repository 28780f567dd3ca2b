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
    // The tables as one: entry i holds opacity entry i in its alpha and colour entry i in the rest, so that
    // one blend gives both, with the very products and sums of the two lookups (a product's operands
    // commute exactly). Where a table is missing its channels hold anything: `color` or `opacity` stands.
    const PF_PixelFloat* entries;
    A_long entryCount; // at least 2
    bool colorTable, opacityTable;
    PF_PixelFloat color; // alpha unused: the opacity replaces it
    float opacity;
};

// Paint the `width` pixels of row y at `depth` (a PixelDepth code) from `row` on; at least one table is
// present. Each gives, to the bit, what the pixel function and the band loop's conversion give.
void paintRampRowSse2(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);
void paintRampRowAvx2(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);
void paintRampRowAvx512(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);

} // namespace Orvane
