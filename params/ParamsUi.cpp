// PF_Cmd_UPDATE_PARAMS_UI: keeps the refresh counter out of the user's sight.
#include "ParamIndex.h"
#include "StreamVisibility.h"

#include "../entry/GlobalData.h"
#include "../entry/Handlers.h"
#include "../suites/ScopedAegpObject.h"
#include "../suites/SuiteTable.h"

namespace Orvane {

PF_Err updateParamsUi(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
    const AEGP_PluginID pluginId = pluginIdOf(in_data);
    SuiteTable suites(in_data->pica_basicP);

    ScopedEffectRef effect(suites.aegpEffectSuite2()->AEGP_DisposeEffect);
    PF_Err err =
        suites.aegpPFInterfaceSuite1()->AEGP_GetNewEffectForEffect(pluginId, in_data->effect_ref, effect.receive());
    if (err == PF_Err_NONE) err = setParamStreamHidden(pluginId, suites, effect.get(), kParamRefreshCounter, TRUE);
    keepFirstError(err, effect.release());

    // The controls are redrawn even when hiding failed, so the panel shows the host's actual state.
    out_data->out_flags |= PF_OutFlag_REFRESH_UI;
    return err;
}

} // namespace Orvane
