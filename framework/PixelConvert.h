// Float pixels to the host's 8- and 16-bit pixels: times full scale, plus one half, truncated, held to range.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

namespace detail {
template <class Channel> inline Channel toChannel(float channel, float scale, float top) {
    float v = channel * scale + 0.5f;
    // Held to 0..top with selects rather than branches (the compiler makes them max and min): below 0,
    // and NaN, which no integer conversion may see, give 0.
    v = v >= 0.0f ? v : 0.0f;
    v = v <= top ? v : top;
    return static_cast<Channel>(static_cast<int>(v)); // truncation toward zero
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
