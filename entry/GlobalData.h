// The effect's only global state: the block in the host handle that global setup stores.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

struct GlobalData {
    AEGP_PluginID pluginId;
};
static_assert(sizeof(GlobalData) == 4, "the host handle holds exactly the plug-in id");

// The plug-in id, read straight through the global handle (the handle is not locked for this).
inline AEGP_PluginID pluginIdOf(const PF_InData* in_data) {
    return in_data->global_data ? static_cast<const GlobalData*>(*in_data->global_data)->pluginId : 0;
}

} // namespace Orvane
