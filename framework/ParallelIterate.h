// Runs a band function once per host worker thread through the host's generic iteration.
#pragma once

#include "FilterFunctions.h"

#include "../sdk/host_sdk.h"

namespace Orvane::Filter {

// What the host's generic iteration hands back to each iteration's callback.
struct IterateContext {
    PF_InData* in_data;
    BandFunction band;
};

// Runs band(i, count) for i in 0 .. count - 1 on the host's threads; a count of 0 or less asks the host how
// many threads it has. With one band it runs on the calling thread and then asks abort once more. Returns
// the first failure the host reports (or the band's, or abort's). Throws PF_Err_BAD_CALLBACK_PARAM when an
// iteration suite is refused.
PF_Err parallelIterate(PF_InData* in_data, BandFunction band, A_long count);

} // namespace Orvane::Filter
