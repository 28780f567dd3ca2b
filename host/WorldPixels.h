// What the host's copy, fill and transfer services do to pixels, at a depth the caller has resolved:
// 0 for PF_Pixel8, 1 for PF_Pixel16 (0..32768), 2 for PF_PixelFloat, on the host's own records of its
// buffers. Rectangles are clipped to the worlds; nothing is scaled.
#pragma once

#include "../sdk/host_sdk.h"

namespace OrvaneHost {

// Copies the block at the top-left corners of the two rectangles, as large as the smaller of them,
// clipped to both worlds. The two worlds may be the same world.
void copyPixels(const PF_EffectWorld& source, const PF_Rect& sourceRect, PF_EffectWorld& destination,
                const PF_Rect& destRect, int depth);

// Sets every pixel of `rect` (clipped to the world) to the colour, scaled to the depth: x 32768 / 255
// rounded to nearest at 16 bits, / 255 at float.
void fillPixels(PF_EffectWorld& world, const PF_Rect& rect, const PF_Pixel8& colour, int depth);

// Source over destination with straight alpha: the source's alpha times `opacity` (0..1) covers the
// destination. With `rgbOnly` the destination keeps its alpha and only the colours mix. `sourceRect`
// (clipped to the source) lands with its top-left corner at destX, destY (clipped to the destination).
void compositeNormalStraight(const PF_EffectWorld& source, const PF_Rect& sourceRect, PF_EffectWorld& destination,
                             A_long destX, A_long destY, double opacity, bool rgbOnly, int depth);

} // namespace OrvaneHost
