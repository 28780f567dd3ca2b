// The band split that every filter shares, and one band of rows through a pixel function at one channel
// depth: source pixels to float, the function, float to the destination's depth. Row y of a buffer starts
// `y * rowbytes` bytes after its data: a host pads its rows by whatever number of bytes it likes, so a row
// need not start on a whole pixel, nor be aligned for the pixel type; pixels are therefore moved with
// memcpy, which compiles to plain loads and stores.
#pragma once

#include "FilterFunctions.h"
#include "PixelConvert.h"
#include "UnitRange.h"

#include "../sdk/host_sdk.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Orvane::Filter {

template <class Pixel> struct DepthIo;

template <> struct DepthIo<PF_Pixel8> {
    static PF_PixelFloat read(const PF_Pixel8& p) {
        return PF_PixelFloat{p.alpha / 255.0f, p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f};
    }
    static PF_Pixel8 write(const PF_PixelFloat& p) { return toPixel8(p); }
};

template <> struct DepthIo<PF_Pixel16> {
    static constexpr float kScale = 0.000030517578125f; // 2^-15: 32768 reads as 1.0
    static PF_PixelFloat read(const PF_Pixel16& p) {
        return PF_PixelFloat{p.alpha * kScale, p.red * kScale, p.green * kScale, p.blue * kScale};
    }
    static PF_Pixel16 write(const PF_PixelFloat& p) { return toPixel16(p); }
};

template <> struct DepthIo<PF_PixelFloat> {
    static PF_PixelFloat read(const PF_PixelFloat& p) { return p; }
    // Alpha is held to 0..1, as in the integer conversions; colours stay as they are.
    static PF_PixelFloat write(const PF_PixelFloat& p) {
        return PF_PixelFloat{heldToUnit(p.alpha), p.red, p.green, p.blue};
    }
};

// Rows H * index / count up to H * (index + 1) / count of the source (products in 64 bits, so they cannot
// overflow), each through row(y). After each row band 0 asks the host whether to stop, and stops on a
// non-zero answer. Every filter cuts its work with this one split.
template <class Row> PF_Err forEachBandRow(PF_InData* in_data, A_long height, int index, int count, const Row& row) {
    // A band that is not one of `count` has no rows (the products below would point past the buffer).
    if (count <= 0 || index < 0 || index >= count) return PF_Err_NONE;
    const auto first = static_cast<A_long>(std::int64_t(height) * index / count);
    const auto end = static_cast<A_long>(std::int64_t(height) * (std::int64_t(index) + 1) / count);
    for (A_long y = first; y < end; ++y) {
        row(y);
        if (index == 0) {
            if (const PF_Err err = in_data->inter.abort(in_data->effect_ref)) return err;
        }
    }
    return PF_Err_NONE;
}

// Row y of a buffer: `y * rowbytes` bytes after its data.
inline unsigned char* rowOf(const PF_EffectWorld& world, A_long y) {
    return reinterpret_cast<unsigned char*>(world.data) + std::ptrdiff_t(y) * world.rowbytes;
}

// One band through a pixel function: every pixel read, converted to float, passed to the function with its
// column and row, and the result written at the destination's depth.
template <class Pixel>
PF_Err renderBandAt(PF_InData* in_data, const PF_EffectWorld& source, PF_EffectWorld& destination,
                    const PixelFunction& function, int index, int count) {
    const A_long width = source.width;
    return forEachBandRow(in_data, source.height, index, count, [&](A_long y) {
        const unsigned char* inRow = rowOf(source, y);
        unsigned char* outRow = rowOf(destination, y);
        for (A_long x = 0; x < width; ++x) {
            Pixel pixel;
            std::memcpy(&pixel, inRow + std::ptrdiff_t(x) * std::ptrdiff_t(sizeof(Pixel)), sizeof pixel);
            pixel = DepthIo<Pixel>::write(function(DepthIo<Pixel>::read(pixel), x, y));
            std::memcpy(outRow + std::ptrdiff_t(x) * std::ptrdiff_t(sizeof(Pixel)), &pixel, sizeof pixel);
        }
    });
}

} // namespace Orvane::Filter
