// The ramp's pixel function: a pixel's ramp position to a colour and an opacity, from the sampled tables
// or from the record's constants. The input pixel is never looked at: the ramp replaces the layer. Smart
// render paints with RampRows, which gives these functions' pixels to the bit a row at a time; these stay
// the plain statement of the arithmetic, for any per-pixel filter.
#pragma once

#include "KeyframeTables.h"
#include "RampGeometry.h"

#include "../framework/FilterFunctions.h"

#include <cmath>

namespace Orvane {

// Where a position falls in a table of `entries` entries spanning `rampLength`.
struct TablePlace {
    enum Kind { First, Last, Blend } kind;
    A_long index;   // for Blend: entries index and index + 1
    float fraction; // for Blend: the weight of entry index + 1
};

inline TablePlace placeInTable(double t, double rampLength, A_long entries) {
    if (!(t >= 0.0)) return TablePlace{TablePlace::First, 0, 0.0f}; // behind Point 1 (and a NaN)
    if (t >= rampLength) return TablePlace{TablePlace::Last, 0, 0.0f};
    const float f = static_cast<float>((static_cast<double>(entries - 1) * t) / rampLength);
    // f rounded up to the last entry, and anything not a number, take the last entry; so the integer
    // conversion below only ever sees 0 <= f < entries - 1, where floor(f) < entries - 1 exactly when
    // f < entries - 1, and floor(f) is the conversion's truncation (cheaper than a call to floorf).
    if (!(f >= 0.0f && f < static_cast<float>(entries - 1))) return TablePlace{TablePlace::Last, 0, 0.0f};
    const auto i = static_cast<A_long>(f);
    return TablePlace{TablePlace::Blend, i, f - static_cast<float>(i)};
}

// Two neighbouring entries mixed, `keep` of the first and `fraction` of the second. A colour's alpha is not
// formed, since the opacity replaces it.
inline float blendEntries(float a, float b, float keep, float fraction) { return (a * keep) + (b * fraction); }
inline PF_PixelFloat blendEntries(const PF_PixelFloat& a, const PF_PixelFloat& b, float keep, float fraction) {
    return PF_PixelFloat{0.0f, blendEntries(a.red, b.red, keep, fraction),
                         blendEntries(a.green, b.green, keep, fraction), blendEntries(a.blue, b.blue, keep, fraction)};
}

// A table's value at a place: an end entry whole, or the two entries around it blended.
template <class Table> typename Table::value_type valueAt(const Table& table, const TablePlace& place) {
    switch (place.kind) {
    case TablePlace::First:
        return table.front();
    case TablePlace::Last:
        return table.back();
    default:
        return blendEntries(table[std::size_t(place.index)], table[std::size_t(place.index) + 1],
                            1.0f - place.fraction, place.fraction);
    }
}

inline PF_PixelFloat colorAt(const ColorTable& table, const TablePlace& place) { return valueAt(table, place); }
inline float opacityAt(const OpacityTable& table, const TablePlace& place) { return valueAt(table, place); }

// What every variant with a table needs besides it.
template <class Position> struct TableRamp {
    Position position;
    double rampLength;
    A_long entryCount;
    TablePlace place(int x, int y) const { return placeInTable(position(x, y), rampLength, entryCount); }
};

struct ConstantPixel {
    PF_PixelFloat result;
    PF_PixelFloat operator()(const PF_PixelFloat&, int, int) const { return result; }
};

template <class Position> struct OpacityRampPixel {
    TableRamp<Position> ramp;
    PF_PixelFloat color;
    OpacityTable opacities;
    PF_PixelFloat operator()(const PF_PixelFloat&, int x, int y) const {
        return PF_PixelFloat{opacityAt(opacities, ramp.place(x, y)), color.red, color.green, color.blue};
    }
};

template <class Position> struct ColorRampPixel {
    TableRamp<Position> ramp;
    ColorTable colors;
    float opacity;
    PF_PixelFloat operator()(const PF_PixelFloat&, int x, int y) const {
        PF_PixelFloat out = colorAt(colors, ramp.place(x, y));
        out.alpha = opacity;
        return out;
    }
};

template <class Position> struct ColorOpacityRampPixel {
    TableRamp<Position> ramp;
    ColorTable colors;
    OpacityTable opacities;
    PF_PixelFloat operator()(const PF_PixelFloat&, int x, int y) const {
        const TablePlace place = ramp.place(x, y);
        PF_PixelFloat out = colorAt(colors, place);
        out.alpha = opacityAt(opacities, place);
        return out;
    }
};

struct RampInputs {
    const ColorTable& colors;      // empty, or entryCount entries
    const OpacityTable& opacities; // empty, or entryCount entries
    PF_PixelFloat color;           // the record's constant colour
    float opacity;                 // the record's constant opacity
    double rampLength;
    A_long entryCount;
};

// The variant that matches which tables are empty; it holds copies of the tables and the position function.
Filter::PixelFunction makePixelFunction(const PositionFunction& position, const RampInputs& inputs);

} // namespace Orvane
