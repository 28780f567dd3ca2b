// PF_Cmd_USER_CHANGED_PARAM: the "Refresh" button. Pressing it changes the hidden counter, so the host sees
// a changed parameter set, and forces a new render of frames that depend on other times' parameter values.
#include "ParamIndex.h"

#include "../entry/GlobalData.h"
#include "../entry/Handlers.h"
#include "../suites/ScopedAegpObject.h"
#include "../suites/SuiteTable.h"

#include <cstdint>

namespace Orvane {

namespace {

// The counter's next value, wrapping from 9999999 to 0. Computed in 64 bits: the host may hand over any
// 32-bit value, and adding one to the largest must not overflow.
A_long nextCounterValue(A_long value) {
    return static_cast<A_long>((static_cast<std::int64_t>(value) + 1) % kRefreshCounterModulus);
}

PF_Err bumpRefreshCounter(PF_ParamDef* params[]) {
    PF_ParamDef* counter = params ? params[kParamRefreshCounter] : nullptr;
    if (!counter) return PF_Err_BAD_CALLBACK_PARAM;
    counter->u.sd.value = nextCounterValue(counter->u.sd.value);
    counter->uu.change_flags |= PF_ChangeFlag_CHANGED_VALUE;
    return PF_Err_NONE;
}

// The part that holds the effect reference: get it, count a press of the button, give it back. The disposal
// suite is taken first so that no reference can be left behind if the host refuses it.
PF_Err refreshThroughEffect(AEGP_PluginID pluginId, SuiteTable& suites, PF_InData* in_data, PF_ParamDef* params[],
                            const PF_UserChangedParamExtra* extra) {
    ScopedEffectRef effect(suites.aegpEffectSuite3()->AEGP_DisposeEffect);
    PF_Err err =
        suites.aegpPFInterfaceSuite1()->AEGP_GetNewEffectForEffect(pluginId, in_data->effect_ref, effect.receive());
    if (err == PF_Err_NONE && extra && extra->param_index == kParamRefreshButton) err = bumpRefreshCounter(params);
    keepFirstError(err, effect.release());
    return err;
}

} // namespace

PF_Err userChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef*,
                        const PF_UserChangedParamExtra* extra) {
    SuiteTable suites(in_data->pica_basicP);
    const AEGP_PluginID pluginId = pluginIdOf(in_data);

    // The layer and its composition are not used; asking for them checks that the effect sits in one.
    AEGP_LayerH layer = nullptr;
    PF_Err err = suites.aegpPFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    if (err == PF_Err_NONE) {
        AEGP_CompH comp = nullptr;
        err = suites.aegpLayerSuite13()->AEGP_GetLayerParentComp(layer, &comp);
    }
    if (err == PF_Err_NONE) err = refreshThroughEffect(pluginId, suites, in_data, params, extra);

    // Every notification re-renders, whichever parameter changed and whether or not a step failed.
    out_data->out_flags |= PF_OutFlag_FORCE_RERENDER;
    return err;
}

} // namespace Orvane
