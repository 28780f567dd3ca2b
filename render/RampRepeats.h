// The repeat modes for a block of pixels: where the block's positions lie, and fmod for the pixels a period
// or more away from [0, P). Included only by the instruction-set files (unnamed namespace).
#pragma once

#include "RampKernel.h"
#include "RampLanes.h"

#include <cmath>

namespace Orvane {
namespace {

// t = fmod(s, period), plus the period when that is negative, in the lanes that are not within a period
// either side of [0, period). Out of line, since hardly a pixel of a frame takes it and its call would
// otherwise cost every other pixel registers.
template <int H>
[[gnu::noinline, gnu::cold]] void farRemainders(const typename Lanes<H>::D& s, double period, typename Lanes<H>::D& t) {
    for (int j = 0; j < H; ++j)
        if (!(s[j] > -period && s[j] < 2 * period)) {
            double r = std::fmod(s[j], period);
            if (0 > r) r = r + period;
            t[j] = r;
        }
}

// Where a block's positions lie, for the repeat modes: all within one of [0, P), [P, 2P) or (-P, 0), where
// the remainder and its fix-up are the same single step for every pixel, or anywhere.
enum class Span { Anywhere, FirstPeriod, SecondPeriod, BeforeZero };

// Every operation from a column to its position rounds monotonically, so along a row the positions only
// rise or only fall (Linear), or rise with the distance from Point 1's column (Radial): a block's lie
// between those of its two ends, or for Radial, when Point 1's column lies within the block, between the
// row's own distance (its dx of 0) and the larger end. Taken with the lanes' very operations.
template <bool Radial> Span spanOf(const RampKernelData& k, double term, A_long x0, int lanes, double period) {
    const double dxA = (static_cast<double>(x0) + k.originX) - k.point1X;
    const double dxB = (static_cast<double>(x0 + lanes - 1) + k.originX) - k.point1X;
    auto positionAt = [&](double dx) { return Radial ? std::sqrt(dx * dx + term) : dx * k.directionX + term; };
    const double a = positionAt(dxA), b = positionAt(dxB);
    double low = a < b ? a : b;
    const double high = a < b ? b : a;
    if (Radial && !(dxA > 0 && dxB > 0) && !(dxA < 0 && dxB < 0)) low = positionAt(0.0);
    if (low >= 0 && high < period) return Span::FirstPeriod;
    if (low >= period && high < 2 * period) return Span::SecondPeriod;
    if (low > -period && high < 0) return Span::BeforeZero;
    return Span::Anywhere;
}

} // namespace
} // namespace Orvane
