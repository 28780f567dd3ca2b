// The channel depth of a host buffer, asked through "PF World Suite" 2 held for the one query.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

// Writes the PixelDepth code of `world` into `depth`; a format that is none of the three leaves `depth` as
// the caller set it. Returns the acquisition's or the query's error, else the release's; 0 when all succeed.
PF_Err getPixelDepth(PF_InData* in_data, PF_OutData* out_data, PF_EffectWorld* world, int& depth);

} // namespace Orvane
