// The ramp row painters' shared half: for a block of pixels, each pixel's ramp position and where it falls
// in the tables, W pixels at a time, with the very operations of the position function and the table lookup
// in the same order (doubles for the geometry, IEEE division and square root, floats for the rest).
// Included only by the instruction-set files, each of which gets its own copy (unnamed namespace).
#pragma once

#include "RampKernel.h"
#include "RampLanes.h"
#include "RampRepeats.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace Orvane {
namespace {

constexpr int kBlock = 64; // pixels placed, then painted, at a time: the places stay in the first-level cache

struct BlockPlaces {
    // Byte offsets into the entries (16 bytes each), so a painter's loads need no arithmetic:
    // lo, the entry taken or blended from, and hi, the one blended towards. A painter that loads two
    // neighbouring entries at once (Adjacent) reads the pair at lo, whose upper entry is the last one when
    // the weight is a negative NaN.
    alignas(64) std::uint32_t lo[kBlock];
    alignas(64) std::uint32_t hi[kBlock];
    alignas(64) float weight[kBlock]; // of entry hi; a NaN where an entry is taken whole
};

// Places of `lanes` pixels from column x0 on (a multiple of W; those past the row are placed too, harmlessly),
// W floats to a register, their doubles in one register or two; `term` is the row's part of the position.
// Adjacent painters need tables of two entries or more.
template <int W, bool Adjacent, bool Radial, RampRepeat Repeat, Span Where>
void placeLanes(const RampKernelData& k, double term, A_long x0, int lanes, BlockPlaces& out) {
    constexpr int H = 8 * W > kNativeBytes ? W / 2 : W;
    using D = typename Lanes<H>::D;
    using M = typename Lanes<H>::M;
    using F = typename Lanes<W>::F;
    using I = typename Lanes<W>::I;
    // The fields in locals: the stores below could otherwise be taken to change them.
    const double originX = k.originX, point1X = k.point1X, directionX = k.directionX;
    const double period = Repeat == RampRepeat::Pingpong ? 2 * k.repeatLength : k.repeatLength;
    const double rampLength = k.rampLength;
    const A_long lastIndex = k.entryCount - 1;
    const double nm1 = static_cast<double>(lastIndex);
    const float nm1f = static_cast<float>(lastIndex);
    // f, the table position in float, of the H pixels at columns x (exact in double).
    auto tablePosition = [&](const D& x) {
        const D dx = (x + originX) - point1X;
        D s = Radial ? dx * dx + term : dx * directionX + term;
        if constexpr (Radial) takeSquareRoot<H>(s);
        D t = s;
        // The remainder and its fix-up as the position function takes them (fmod keeps the sign of s, a
        // negative remainder gains a period): within a period either side of [0, P) both are exact single
        // steps, further out (or not a number) fmod's own.
        if constexpr (Where == Span::SecondPeriod) t = s - period;
        if constexpr (Where == Span::BeforeZero) t = s + period;
        if constexpr (Repeat != RampRepeat::None && Where == Span::Anywhere) {
            // The step is s - P from a period on, s - -P (that is s + P) below 0, else s - +0 (which keeps
            // a -0): one subtraction, since a select costs three operations without SSE4.1.
            const M step = (M(D{} + period) & (s >= period)) | (M(D{} - period) & (s < 0.0));
            t = s - D(step);
            if (!allWithin<H>(s, -period, 2 * period)) farRemainders<H>(s, period, t);
        }
        if constexpr (Repeat == RampRepeat::Pingpong) {
            // L > t ? t : 2L - t, as a minimum: below L, 2L - t rounds to L or more; from L on it is exact
            // and at most L; at L both are L; a NaN gives 2L - t either way.
            const D back = period - t;
            t = t < back ? t : back;
        }
        // Behind the ramp (or not a number) becomes -1, which fails the float test below. At or past its
        // end, q is at least (N-1) * L / L rounded twice, within 2^-52 of N-1, so f rounds to N-1 or more and
        // fails it too: the last entry, as the lookup's own test for t >= L gives.
        D q = (nm1 * t) / rampLength;
        q = t >= 0 ? q : -1.0;
        return __builtin_convertvector(q, typename Lanes<H>::F);
    };
    D x;
    for (int j = 0; j < H; ++j) x[j] = static_cast<double>(x0 + j);
    for (int i = 0; i < lanes; i += W) {
        F f;
        if constexpr (H == W) {
            f = tablePosition(x);
            x += double(H);
        } else {
            const auto low = tablePosition(x);
            x += double(H);
            f = joined<W>(low, tablePosition(x));
            x += double(H);
        }
        const I blend = (f >= 0.0f) & (f < nm1f);
        const I first = f < 0.0f;
        const I last = ~(blend | first);
        // f where it blends (-0 kept: the fraction keeps its sign), else 0. The last entry's index is added
        // as an integer: beyond 2^24 + 1 entries N - 1 is not always a float, and rounded it would name an
        // entry before the last or one past it.
        const F held = blend ? f : 0.0f;
        const I whole = __builtin_convertvector(held, I);
        const F fraction = held - __builtin_convertvector(whole, F);
        const I lo = whole + (last & lastIndex);
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        if constexpr (Adjacent) {
            const I pair = (lo + last) << 4; // the last entry's pair starts one entry before it
            const F weight = blend ? fraction : (first ? nan : -nan);
            std::memcpy(out.lo + i, &pair, sizeof pair);
            std::memcpy(out.weight + i, &weight, sizeof weight);
        } else {
            const I loOffset = lo << 4, hiOffset = (lo - blend) << 4; // a set mask is -1
            const F weight = blend ? fraction : nan;
            std::memcpy(out.lo + i, &loOffset, sizeof loOffset);
            std::memcpy(out.hi + i, &hiOffset, sizeof hiOffset);
            std::memcpy(out.weight + i, &weight, sizeof weight);
        }
    }
}

template <int W, bool Adjacent, bool Radial, RampRepeat Repeat>
void placeBlock(const RampKernelData& k, double term, A_long x0, int lanes, BlockPlaces& out) {
    if constexpr (Repeat == RampRepeat::None) {
        placeLanes<W, Adjacent, Radial, Repeat, Span::Anywhere>(k, term, x0, lanes, out);
    } else {
        const double period = Repeat == RampRepeat::Pingpong ? 2 * k.repeatLength : k.repeatLength;
        switch (spanOf<Radial>(k, term, x0, lanes, period)) {
        case Span::FirstPeriod:
            return placeLanes<W, Adjacent, Radial, Repeat, Span::FirstPeriod>(k, term, x0, lanes, out);
        case Span::SecondPeriod:
            return placeLanes<W, Adjacent, Radial, Repeat, Span::SecondPeriod>(k, term, x0, lanes, out);
        case Span::BeforeZero:
            return placeLanes<W, Adjacent, Radial, Repeat, Span::BeforeZero>(k, term, x0, lanes, out);
        default:
            return placeLanes<W, Adjacent, Radial, Repeat, Span::Anywhere>(k, term, x0, lanes, out);
        }
    }
}

} // namespace
} // namespace Orvane
