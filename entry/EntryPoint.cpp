#include "EntryPoint.h"

#include "Handlers.h"

#include "../framework/HostBoundary.h"

#include <string>

namespace {

using namespace Orvane;

PF_Err dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                void* extra) {
    const PluginVersion version = kPluginVersion;
    // Unsigned, so that negative selectors fall through with every other unknown command.
    switch (static_cast<A_u_long>(cmd)) {
    case PF_Cmd_ABOUT: {
        const std::string name(kEffectName);
        return about(name, version, in_data, out_data);
    }
    case PF_Cmd_GLOBAL_SETUP:
        return globalSetup(version, kGlobalOutFlags, kGlobalOutFlags2, in_data, out_data);
    case PF_Cmd_GLOBAL_SETDOWN:
        return globalSetdown(in_data);
    case PF_Cmd_PARAMS_SETUP:
        return paramsSetup(in_data, out_data, params, output);
    case PF_Cmd_USER_CHANGED_PARAM:
        return userChangedParam(in_data, out_data, params, output,
                                static_cast<const PF_UserChangedParamExtra*>(extra));
    case PF_Cmd_UPDATE_PARAMS_UI:
        return updateParamsUi(in_data, out_data, params, output);
    case PF_Cmd_SMART_PRE_RENDER:
        return smartPreRender(in_data, out_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER:
        return smartRender(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
    default:
        return PF_Err_NONE;
    }
}

} // namespace

extern "C" PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                 PF_LayerDef* output, void* extra) {
    return callFromHost([&] { return dispatch(cmd, in_data, out_data, params, output, extra); });
}
