#include "Handlers.h"

namespace Orvane {

PF_Err about(const std::string& effectName, const PluginVersion& version, PF_InData* in_data,
             PF_OutData* out_data) {
    in_data->utils->ansi.sprintf(out_data->return_msg, "%s, v%d.%d.%d\r%s", effectName.c_str(),
                                 static_cast<int>(version.major), static_cast<int>(version.minor),
                                 static_cast<int>(version.bugfix), kRightsLine);
    return PF_Err_NONE;
}

} // namespace Orvane
