// The command handlers the entry point dispatches to. Each returns a host error code; beneath them only a
// suite table throws a code (PF_Err_BAD_CALLBACK_PARAM), and only an allocation throws std::bad_alloc: the
// entry point turns either into the host's code, after everything held has been given back on the way.
#pragma once

#include "EffectIdentity.h"

#include "../sdk/host_sdk.h"

#include <string>

namespace Orvane {

PF_Err about(const std::string& effectName, const PluginVersion& version, PF_InData* in_data,
             PF_OutData* out_data);
PF_Err globalSetup(const PluginVersion& version, PF_OutFlags outFlags, PF_OutFlags2 outFlags2, PF_InData* in_data,
                   PF_OutData* out_data);
PF_Err globalSetdown(PF_InData* in_data);

PF_Err paramsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err updateParamsUi(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err userChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                        const PF_UserChangedParamExtra* extra);

PF_Err smartPreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);
PF_Err smartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);

} // namespace Orvane
