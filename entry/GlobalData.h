// The effect's only global state: the block in the host handle that global setup stores.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

struct GlobalData {
    AEGP_PluginID pluginId;
};
static_assert(sizeof(GlobalData) == 4, "the host handle holds exactly the plug-in id");

// The plug-in id, read straight through the global handle. Not locked: the master pointer points at the block
// wherever the host has moved it, so one read through it needs no lock, and no command pays two host calls.
// Without global data (global setup failed, or a host that never ran it) the id is 0, which the host refuses.
inline AEGP_PluginID pluginIdOf(const PF_InData* in_data) {
    if (!in_data->global_data || !*in_data->global_data) return 0;
    return static_cast<const GlobalData*>(*in_data->global_data)->pluginId;
}

} // namespace Orvane
