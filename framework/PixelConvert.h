// Float pixels to the host's 8- and 16-bit pixels: times full scale, plus one half, truncated, held to range.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

namespace detail {
template <class Channel> inline Channel toChannel(float channel, float scale, float top) {
    const float v = channel * scale + 0.5f;
    if (!(v >= 0.0f)) return 0; // below 0, and NaN, which no integer conversion may see
    if (v > top) return static_cast<Channel>(top);
    return static_cast<Channel>(v); // truncation toward zero
}
} // namespace detail

inline PF_Pixel8 toPixel8(const PF_PixelFloat& p) {
    using detail::toChannel;
    return PF_Pixel8{toChannel<A_u_char>(p.alpha, 255.0f, 255.0f), toChannel<A_u_char>(p.red, 255.0f, 255.0f),
                     toChannel<A_u_char>(p.green, 255.0f, 255.0f), toChannel<A_u_char>(p.blue, 255.0f, 255.0f)};
}

inline PF_Pixel16 toPixel16(const PF_PixelFloat& p) {
    using detail::toChannel;
    return PF_Pixel16{toChannel<A_u_short>(p.alpha, 32768.0f, 32768.0f),
                      toChannel<A_u_short>(p.red, 32768.0f, 32768.0f),
                      toChannel<A_u_short>(p.green, 32768.0f, 32768.0f),
                      toChannel<A_u_short>(p.blue, 32768.0f, 32768.0f)};
}

} // namespace Orvane
