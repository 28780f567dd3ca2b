// Showing and hiding one parameter's control through its AEGP stream.
#pragma once

#include "../sdk/host_sdk.h"
#include "../suites/SuiteTable.h"

namespace Orvane {

// Sets (hide TRUE) or clears the hidden flag of the stream of effect parameter `index`. The change is made
// without an undo step: it is the effect's own housekeeping, not something the user did.
PF_Err setParamStreamHidden(AEGP_PluginID pluginId, SuiteTable& suites, AEGP_EffectRefH effect,
                            PF_ParamIndex index, A_Boolean hide);

} // namespace Orvane
