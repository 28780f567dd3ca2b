// A read-only view of one rendered frame as the host lays it out: rows of `rowbytes` bytes, pixels in the
// order alpha, red, green, blue, at 8 bits (0..255), 16 bits (0..32768) or 32-bit float.
#pragma once

#include "framework/PixelDepth.h"

#include "sdk/host_sdk.h"

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>

namespace OrvaneTools {

struct FrameView {
    int width = 0;
    int height = 0;
    int depth = 8; // 8, 16 or 32
    std::size_t rowbytes = 0;
    const unsigned char* bytes = nullptr;
    std::size_t byteCount = 0;
};

inline std::size_t pixelSizeOf(int depth) {
    const auto code = Orvane::depthOfBits(depth);
    if (!code) throw std::invalid_argument("no pixel has " + std::to_string(depth) + " bits per channel");
    return std::size_t(Orvane::bytesPerPixel(*code));
}

// Throws std::invalid_argument when the rows would reach past the bytes the view holds.
inline void checkFrameView(const FrameView& view) {
    const std::size_t pixel = pixelSizeOf(view.depth);
    if (view.width < 1 || view.height < 1 || !view.bytes) throw std::invalid_argument("frame is empty");
    const std::size_t w = static_cast<std::size_t>(view.width);
    const std::size_t h = static_cast<std::size_t>(view.height);
    if (view.rowbytes < w * pixel || view.byteCount / view.rowbytes < h - 1 ||
        view.byteCount - (h - 1) * view.rowbytes < w * pixel)
        throw std::invalid_argument("frame rows reach past its bytes");
}

// Pixel (x, y), copied out so that no alignment is assumed of the buffer.
template <class Pixel> Pixel pixelAt(const FrameView& view, int x, int y) {
    Pixel p;
    std::memcpy(&p, view.bytes + static_cast<std::size_t>(y) * view.rowbytes + static_cast<std::size_t>(x) * sizeof(Pixel),
                sizeof(Pixel));
    return p;
}

} // namespace OrvaneTools
