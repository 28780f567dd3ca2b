#include "WorldPixels.h"

#include "../framework/PixelDepth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace OrvaneHost {

namespace {

std::int64_t bytesPerPixel(int depth) { return Orvane::bytesPerPixel(Orvane::PixelDepth(depth)); }

unsigned char* pixelAt(const PF_EffectWorld& world, std::int64_t x, std::int64_t y, int depth) {
    return reinterpret_cast<unsigned char*>(world.data) + y * world.rowbytes + x * bytesPerPixel(depth);
}

// The offsets i, 0 <= i < extent, at which both start + i of the one world and start + i of the other fall
// inside their worlds. Everything in 64 bits, so no host value can overflow it.
struct Span {
    std::int64_t first, last; // [first, last); empty when last <= first
};
Span overlap(std::int64_t extent, std::int64_t aStart, std::int64_t aSize, std::int64_t bStart, std::int64_t bSize) {
    return Span{std::max({std::int64_t(0), -aStart, -bStart}), std::min({extent, aSize - aStart, bSize - bStart})};
}

struct Channels {
    double alpha, red, green, blue;
};

double fromByte(A_u_char v) { return v / 255.0; }
double fromShort(A_u_short v) { return v / 32768.0; }

template <class Int> Int toInt(double v, double scale) {
    if (!(v > 0.0)) return 0; // NaN too
    if (v >= 1.0) return static_cast<Int>(scale);
    return static_cast<Int>(std::lround(v * scale));
}

Channels readPixel(const unsigned char* p, int depth) {
    if (depth == 0) {
        PF_Pixel8 px;
        std::memcpy(&px, p, sizeof px);
        return {fromByte(px.alpha), fromByte(px.red), fromByte(px.green), fromByte(px.blue)};
    }
    if (depth == 1) {
        PF_Pixel16 px;
        std::memcpy(&px, p, sizeof px);
        return {fromShort(px.alpha), fromShort(px.red), fromShort(px.green), fromShort(px.blue)};
    }
    PF_PixelFloat px;
    std::memcpy(&px, p, sizeof px);
    return {px.alpha, px.red, px.green, px.blue};
}

void writePixel(unsigned char* p, int depth, const Channels& c) {
    if (depth == 0) {
        const PF_Pixel8 px{toInt<A_u_char>(c.alpha, 255.0), toInt<A_u_char>(c.red, 255.0),
                           toInt<A_u_char>(c.green, 255.0), toInt<A_u_char>(c.blue, 255.0)};
        std::memcpy(p, &px, sizeof px);
    } else if (depth == 1) {
        const PF_Pixel16 px{toInt<A_u_short>(c.alpha, 32768.0), toInt<A_u_short>(c.red, 32768.0),
                            toInt<A_u_short>(c.green, 32768.0), toInt<A_u_short>(c.blue, 32768.0)};
        std::memcpy(p, &px, sizeof px);
    } else {
        const PF_PixelFloat px{static_cast<float>(c.alpha), static_cast<float>(c.red), static_cast<float>(c.green),
                               static_cast<float>(c.blue)};
        std::memcpy(p, &px, sizeof px);
    }
}

Channels over(const Channels& s, const Channels& d, double opacity, bool rgbOnly) {
    const double sa = s.alpha * opacity;
    if (rgbOnly)
        return {d.alpha, s.red * sa + d.red * (1.0 - sa), s.green * sa + d.green * (1.0 - sa),
                s.blue * sa + d.blue * (1.0 - sa)};
    const double behind = d.alpha * (1.0 - sa);
    const double alpha = sa + behind;
    if (!(alpha > 0.0)) return {0.0, 0.0, 0.0, 0.0};
    return {alpha, (s.red * sa + d.red * behind) / alpha, (s.green * sa + d.green * behind) / alpha,
            (s.blue * sa + d.blue * behind) / alpha};
}

} // namespace

void copyPixels(const PF_EffectWorld& source, const PF_Rect& sourceRect, PF_EffectWorld& destination,
                const PF_Rect& destRect, int depth) {
    const std::int64_t width = std::min(std::int64_t(sourceRect.right) - sourceRect.left,
                                        std::int64_t(destRect.right) - destRect.left);
    const std::int64_t height = std::min(std::int64_t(sourceRect.bottom) - sourceRect.top,
                                         std::int64_t(destRect.bottom) - destRect.top);
    const Span xs = overlap(width, sourceRect.left, source.width, destRect.left, destination.width);
    const Span ys = overlap(height, sourceRect.top, source.height, destRect.top, destination.height);
    if (xs.last <= xs.first || ys.last <= ys.first) return;
    // Through a buffer, so a copy within one world reads none of what it has already written.
    const std::int64_t rowBytes = (xs.last - xs.first) * bytesPerPixel(depth);
    std::vector<unsigned char> block(static_cast<std::size_t>(rowBytes * (ys.last - ys.first)));
    for (std::int64_t j = ys.first; j < ys.last; ++j)
        std::memcpy(block.data() + (j - ys.first) * rowBytes,
                    pixelAt(source, sourceRect.left + xs.first, sourceRect.top + j, depth),
                    static_cast<std::size_t>(rowBytes));
    for (std::int64_t j = ys.first; j < ys.last; ++j)
        std::memcpy(pixelAt(destination, destRect.left + xs.first, destRect.top + j, depth),
                    block.data() + (j - ys.first) * rowBytes, static_cast<std::size_t>(rowBytes));
}

void fillPixels(PF_EffectWorld& world, const PF_Rect& rect, const PF_Pixel8& colour, int depth) {
    const Span xs = overlap(std::int64_t(rect.right) - rect.left, rect.left, world.width, rect.left, world.width);
    const Span ys = overlap(std::int64_t(rect.bottom) - rect.top, rect.top, world.height, rect.top, world.height);
    unsigned char pixel[16];
    if (depth == 0) {
        std::memcpy(pixel, &colour, sizeof colour);
    } else if (depth == 1) {
        auto deep = [](A_u_char v) { return static_cast<A_u_short>(std::lround(v * 32768.0 / 255.0)); };
        const PF_Pixel16 px{deep(colour.alpha), deep(colour.red), deep(colour.green), deep(colour.blue)};
        std::memcpy(pixel, &px, sizeof px);
    } else {
        const PF_PixelFloat px{colour.alpha / 255.0f, colour.red / 255.0f, colour.green / 255.0f,
                               colour.blue / 255.0f};
        std::memcpy(pixel, &px, sizeof px);
    }
    const std::size_t size = static_cast<std::size_t>(bytesPerPixel(depth));
    for (std::int64_t j = ys.first; j < ys.last; ++j)
        for (std::int64_t i = xs.first; i < xs.last; ++i)
            std::memcpy(pixelAt(world, rect.left + i, rect.top + j, depth), pixel, size);
}

void compositeNormalStraight(const PF_EffectWorld& source, const PF_Rect& sourceRect, PF_EffectWorld& destination,
                             A_long destX, A_long destY, double opacity, bool rgbOnly, int depth) {
    const Span xs = overlap(std::int64_t(sourceRect.right) - sourceRect.left, sourceRect.left, source.width, destX,
                            destination.width);
    const Span ys = overlap(std::int64_t(sourceRect.bottom) - sourceRect.top, sourceRect.top, source.height, destY,
                            destination.height);
    if (xs.last <= xs.first || ys.last <= ys.first) return;
    // The source is read in full first, so a transfer within one world composites none of its own results.
    std::vector<Channels> block;
    block.reserve(static_cast<std::size_t>((xs.last - xs.first) * (ys.last - ys.first)));
    for (std::int64_t j = ys.first; j < ys.last; ++j)
        for (std::int64_t i = xs.first; i < xs.last; ++i)
            block.push_back(readPixel(pixelAt(source, sourceRect.left + i, sourceRect.top + j, depth), depth));
    std::size_t n = 0;
    for (std::int64_t j = ys.first; j < ys.last; ++j)
        for (std::int64_t i = xs.first; i < xs.last; ++i) {
            unsigned char* target = pixelAt(destination, destX + i, destY + j, depth);
            writePixel(target, depth, over(block[n++], readPixel(target, depth), opacity, rgbOnly));
        }
}

} // namespace OrvaneHost
