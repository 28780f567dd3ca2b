// The ramp row painters' row loop: a row in blocks of pixels, each placed, then painted at the depth, with
// the variants chosen once per row. Included only by the instruction-set files (unnamed namespace).
#pragma once

#include "RampPlaces.h"

#include "../framework/PixelDepth.h"

namespace Orvane {
namespace {

using PlaceBlock = void (*)(const RampKernelData&, double, A_long, int, BlockPlaces&);
using PaintBlock = void (*)(const RampKernelData&, const BlockPlaces&, int, unsigned char*);

template <int W, bool Adjacent, bool Radial> PlaceBlock placeFor(RampRepeat repeat) {
    if (repeat == RampRepeat::Loop) return placeBlock<W, Adjacent, Radial, RampRepeat::Loop>;
    if (repeat == RampRepeat::Pingpong) return placeBlock<W, Adjacent, Radial, RampRepeat::Pingpong>;
    return placeBlock<W, Adjacent, Radial, RampRepeat::None>;
}

// Painter: group<Color, Opacity, Depth>(ramp, places, i, out) writes the kGroup pixels from place i on
// (kGroup a multiple of W); Color and Opacity tell which tables are present; kAdjacent, whether it loads
// neighbouring entries in pairs. A block's n pixels go a group at a time; a last group that the row does
// not fill is painted aside and only the row's pixels are copied, so nothing past the row is written.
template <class Painter, bool Color, bool Opacity, int Depth>
void paintBlock(const RampKernelData& k, const BlockPlaces& p, int n, unsigned char* out) {
    constexpr int kGroup = Painter::kGroup;
    constexpr int size = Depth == 0 ? 4 : (Depth == 1 ? 8 : 16);
    for (int i = 0; i < n; i += kGroup) {
        if (n - i >= kGroup) {
            Painter::template group<Color, Opacity, Depth>(k, p, i, out + i * size);
        } else {
            alignas(kGroup * 4) unsigned char last[kGroup * size]; // a register's width
            Painter::template group<Color, Opacity, Depth>(k, p, i, last);
            std::memcpy(out + i * size, last, std::size_t(n - i) * size);
        }
    }
}

template <class Painter, bool Color, bool Opacity> PaintBlock paintFor(int depth) {
    if (depth == 0) return paintBlock<Painter, Color, Opacity, 0>;
    if (depth == 1) return paintBlock<Painter, Color, Opacity, 1>;
    return paintBlock<Painter, Color, Opacity, 2>;
}

template <int W, class Painter>
void paintRow(const RampKernelData& k, int depth, A_long y, A_long width, unsigned char* row) {
    constexpr bool adjacent = Painter::kAdjacent;
    const PlaceBlock place = k.radial ? placeFor<W, adjacent, true>(k.repeat) : placeFor<W, adjacent, false>(k.repeat);
    const PaintBlock paint = !k.opacityTable ? paintFor<Painter, true, false>(depth)
                             : k.colorTable  ? paintFor<Painter, true, true>(depth)
                                             : paintFor<Painter, false, true>(depth);
    const std::ptrdiff_t pixelSize = bytesPerPixel(PixelDepth(depth));
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
