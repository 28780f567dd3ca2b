// The union of two rectangles, an empty one (left >= right or top >= bottom) adding nothing.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

// dst becomes the smallest rectangle holding both; an empty dst becomes a copy of src (even an empty one).
void RectUnion(const PF_LRect& src, PF_LRect& dst);

} // namespace Orvane
