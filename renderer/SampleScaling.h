// How a host channel value becomes a sample of an image file.
#pragma once

#include "FrameView.h"

#include <cmath>
#include <cstdint>

namespace OrvaneTools {

constexpr std::uint32_t kHost16Max = 32768; // full scale of the host's 16-bit channels

// Host 16-bit (0..32768) to a 16-bit file sample (0..65535), rounded half up; values above full scale
// are held at full scale.
inline std::uint16_t sample16FromHost16(std::uint16_t value) {
    const std::uint32_t v = value > kHost16Max ? kHost16Max : value;
    return static_cast<std::uint16_t>((v * 65535u + kHost16Max / 2) / kHost16Max);
}

// Float (nominally 0..1) to a 16-bit file sample, held to 0..1 and rounded; NaN becomes 0.
inline std::uint16_t sample16FromFloat(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 1.0f) return 65535;
    return static_cast<std::uint16_t>(std::floor(static_cast<double>(value) * 65535.0 + 0.5));
}

// Host 16-bit held to its full scale, as PAM with MAXVAL 32768 requires.
inline std::uint16_t heldHost16(std::uint16_t value) {
    return value > kHost16Max ? static_cast<std::uint16_t>(kHost16Max) : value;
}

inline float unitFromHost8(std::uint8_t value) { return static_cast<float>(value) / 255.0f; }
inline float unitFromHost16(std::uint16_t value) { return static_cast<float>(value) / 32768.0f; }

// A pixel as float R, G, B, A with straight alpha: 8-bit / 255, 16-bit / 32768, float as it is.
struct UnitRgba {
    float red, green, blue, alpha;
};

// A pixel as unit floats, by its type: a writer picks the type once and runs its loops on the frame's own
// pixels.
inline UnitRgba unitRgba(const PF_Pixel8& p) {
    return {unitFromHost8(p.red), unitFromHost8(p.green), unitFromHost8(p.blue), unitFromHost8(p.alpha)};
}
inline UnitRgba unitRgba(const PF_Pixel16& p) {
    return {unitFromHost16(p.red), unitFromHost16(p.green), unitFromHost16(p.blue), unitFromHost16(p.alpha)};
}
inline UnitRgba unitRgba(const PF_PixelFloat& p) { return {p.red, p.green, p.blue, p.alpha}; }

inline UnitRgba unitPixel(const FrameView& frame, int x, int y) {
    switch (frame.depth) {
    case 8: return unitRgba(pixelAt<PF_Pixel8>(frame, x, y));
    case 16: return unitRgba(pixelAt<PF_Pixel16>(frame, x, y));
    default: return unitRgba(pixelAt<PF_PixelFloat>(frame, x, y));
    }
}

} // namespace OrvaneTools
