// The ramp row painters' row loop: a row in blocks of pixels, each placed, then painted at the depth, with
// the variants chosen once per row. Included only by the instruction-set files (unnamed namespace).
#pragma once

#include "RampPlaces.h"

namespace Orvane {
namespace {

using PlaceBlock = void (*)(const RampKernelData&, double, A_long, int, BlockPlaces&);
using PaintBlock = void (*)(const RampKernelData&, const BlockPlaces&, int, unsigned char*);

template <int W, bool Adjacent, bool Radial> PlaceBlock placeFor(RampRepeat repeat) {
    if (repeat == RampRepeat::Loop) return placeBlock<W, Adjacent, Radial, RampRepeat::Loop>;
    if (repeat == RampRepeat::Pingpong) return placeBlock<W, Adjacent, Radial, RampRepeat::Pingpong>;
    return placeBlock<W, Adjacent, Radial, RampRepeat::None>;
}

// Painter: paint<Color, Opacity, Depth>(ramp, places, n, out) writes n pixels from places made kGroup at a
// time (kGroup a multiple of W); Color and Opacity tell which tables are present; kAdjacent, whether it
// loads neighbouring entries in pairs.
template <class Painter, bool Color, bool Opacity> PaintBlock paintFor(int depth) {
    if (depth == 0) return Painter::template paint<Color, Opacity, 0>;
    if (depth == 1) return Painter::template paint<Color, Opacity, 1>;
    return Painter::template paint<Color, Opacity, 2>;
}

template <int W, class Painter>
void paintRow(const RampKernelData& k, int depth, A_long y, A_long width, unsigned char* row) {
    constexpr bool adjacent = Painter::kAdjacent;
    const PlaceBlock place = k.radial ? placeFor<W, adjacent, true>(k.repeat) : placeFor<W, adjacent, false>(k.repeat);
    const PaintBlock paint = !k.opacityTable ? paintFor<Painter, true, false>(depth)
                             : k.colorTable  ? paintFor<Painter, true, true>(depth)
                                             : paintFor<Painter, false, true>(depth);
    const std::ptrdiff_t pixelSize = depth == 0 ? 4 : (depth == 1 ? 8 : 16);
    // The row's part of the position, once per row: dy * direction y (Linear), dy * dy (Radial).
    const double dy = (static_cast<double>(y) + k.originY) - k.point1Y;
    const double term = k.radial ? dy * dy : dy * k.directionY;
    BlockPlaces places;
    for (A_long x0 = 0; x0 < width; x0 += kBlock) {
        const int n = width - x0 < kBlock ? int(width - x0) : kBlock;
        place(k, term, x0, (n + Painter::kGroup - 1) / Painter::kGroup * Painter::kGroup, places);
        paint(k, places, n, row + x0 * pixelSize);
    }
}

} // namespace
} // namespace Orvane
