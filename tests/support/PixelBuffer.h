// A world record over a buffer the test owns, with padded rows so stride mistakes show, and typed pixel
// access at its depth.
#pragma once

#include "sdk/host_sdk.h"

#include <cstring>
#include <ostream>
#include <vector>

namespace OrvaneTest {

class PixelBuffer {
public:
    PixelBuffer(A_long width, A_long height, int depth) : depth(depth) {
        const A_long pixelBytes = depth == 2 ? 16 : depth == 1 ? 8 : 4;
        world.width = width;
        world.height = height;
        world.rowbytes = width * pixelBytes + 3 * pixelBytes;
        bytes.assign(static_cast<std::size_t>(world.rowbytes) * static_cast<std::size_t>(height > 0 ? height : 0),
                     0);
        world.data = reinterpret_cast<PF_PixelPtr>(bytes.data());
    }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    PF_EffectWorld* get() { return &world; }
    PF_EffectWorld& record() { return world; }

    template <class Pixel> Pixel at(A_long x, A_long y) const {
        Pixel p;
        std::memcpy(&p, address(x, y), sizeof p);
        return p;
    }
    template <class Pixel> void set(A_long x, A_long y, const Pixel& p) { std::memcpy(address(x, y), &p, sizeof p); }
    template <class Pixel> void setAll(const Pixel& p) {
        for (A_long y = 0; y < world.height; ++y)
            for (A_long x = 0; x < world.width; ++x) set(x, y, p);
    }
    // The padding bytes past each row's pixels, all of which must stay 0.
    bool paddingUntouched() const {
        const std::size_t used = static_cast<std::size_t>(world.width) * (depth == 2 ? 16 : depth == 1 ? 8 : 4);
        for (A_long y = 0; y < world.height; ++y)
            for (std::size_t b = used; b < static_cast<std::size_t>(world.rowbytes); ++b)
                if (bytes[static_cast<std::size_t>(y) * static_cast<std::size_t>(world.rowbytes) + b]) return false;
        return true;
    }

private:
    unsigned char* address(A_long x, A_long y) const {
        const std::size_t pixelBytes = depth == 2 ? 16 : depth == 1 ? 8 : 4;
        return const_cast<unsigned char*>(bytes.data()) + static_cast<std::size_t>(y) * world.rowbytes +
               static_cast<std::size_t>(x) * pixelBytes;
    }

    int depth;
    std::vector<unsigned char> bytes;
    PF_EffectWorld world{};
};

} // namespace OrvaneTest

// Pixel comparison and printing for the test assertions (the host's pixel types are plain C structs).
inline bool operator==(const PF_Pixel8& a, const PF_Pixel8& b) {
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator==(const PF_Pixel16& a, const PF_Pixel16& b) {
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator==(const PF_PixelFloat& a, const PF_PixelFloat& b) {
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

inline std::ostream& operator<<(std::ostream& out, const PF_Pixel8& p) {
    return out << "{" << +p.alpha << ", " << +p.red << ", " << +p.green << ", " << +p.blue << "}";
}
inline std::ostream& operator<<(std::ostream& out, const PF_Pixel16& p) {
    return out << "{" << p.alpha << ", " << p.red << ", " << p.green << ", " << p.blue << "}";
}
inline std::ostream& operator<<(std::ostream& out, const PF_PixelFloat& p) {
    return out << "{" << p.alpha << ", " << p.red << ", " << p.green << ", " << p.blue << "}";
}
