// The error convention of every handler: one error variable, and the first failure is the one returned.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

// A later step's error (a check-in, a disposal) is recorded only while none is.
inline void keepFirstError(PF_Err& result, PF_Err err) {
    if (result == PF_Err_NONE) result = err;
}

} // namespace Orvane
