// The pre-render record: what smart pre-render read from the parameters, handed to smart render through a
// host handle of exactly this size. Packed, so its layout is the same on every compiler.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

#pragma pack(push, 1)
struct RampRenderParams {
    A_long shape;     // "Shape" popup value: 1 Linear, 2 Radial
    double point1[2]; // "Point 1" x, y in pixels of the downsampled buffers
    double point2[2]; // "Point 2"
    A_long repeat;    // "Repeat" popup value: 1 None, 2 Loop, 3 Pingpong
    float color[4];   // "Color" alpha, red, green, blue, each byte / 255
    float opacity;    // "Opacity" percent x 0.01, not clamped
};
#pragma pack(pop)

static_assert(sizeof(RampRenderParams) == 60, "the record is 60 bytes without padding");

} // namespace Orvane
