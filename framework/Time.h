// A host time as the framework passes it around: value / scale seconds.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

struct Time {
    A_long value;
    A_u_long scale;
};
static_assert(sizeof(Time) == 8, "a host time value followed by its scale");

} // namespace Orvane
