// The ramp a row at a time: to the bit what the pixel function and the band loop's conversion give for
// every pixel of a row, painted on the vector path asked for, or a constant colour converted once and
// repeated. The filter calls it once per row; the source pixels are never read.
#pragma once

#include "RampKernel.h"
#include "RampPixel.h"

#include "../framework/PixelDepth.h"
#include "../framework/VectorPath.h"

namespace Orvane {

// A row painter of RampKernel.h, and the one of a path (which the caller has found this machine runs).
using RampRowPainter = void (*)(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row);
RampRowPainter rampRowPainter(VectorPath path);

class RampRows {
public:
    // From the same values as makePixelFunction, with a copy of the tables (which hold inputs.entryCount
    // entries each, or none). A path this machine does not run falls back to the fastest it does.
    RampRows(const PositionFunction& position, const RampInputs& inputs, VectorPath path);
    RampRows(const RampRows&) = delete;
    RampRows& operator=(const RampRows&) = delete;

    // The `width` pixels of row y at `depth`, from `row` on (any byte address; nothing beyond is written).
    void operator()(PixelDepth depth, A_long y, A_long width, unsigned char* row) const;

    // What the painter reads (no entries where the colour is constant).
    const RampKernelData& kernelData() const { return kernel; }

private:
    ColorTable entries;      // the tables' copies as one (see RampKernelData)
    RampKernelData kernel{}; // points into the entries
    RampRowPainter painter;
    bool constant;
    unsigned char constantPixel[3][16]{}; // the constant variant's pixel at each depth
};

} // namespace Orvane
