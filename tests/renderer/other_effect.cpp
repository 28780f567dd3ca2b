// Stand-in modules that export the entry point but register another effect's parameters, so that the
// renderer's refusal of a module that is not its effect can be seen from outside. ORVANE_OTHER_EFFECT picks
// how the other effect differs: 1 fewer parameters, 2 a parameter of another kind, 3 a popup's choices.
#include "sdk/host_sdk.h"

#include <cstring>

namespace {

struct Control {
    PF_ParamType type;
    const char* name;
    const char* choices; // a popup's, split at '|'
};

#if ORVANE_OTHER_EFFECT == 1
const Control kControls[] = {
    {PF_Param_POPUP, "Mode", "Soft|Hard"}, {PF_Param_FLOAT_SLIDER, "Amount", nullptr}, {PF_Param_COLOR, "Tint", nullptr}};
#elif ORVANE_OTHER_EFFECT == 2
const Control kControls[] = {
    {PF_Param_POPUP, "Shape", "Linear|Radial"}, {PF_Param_FLOAT_SLIDER, "Angle", nullptr},
    {PF_Param_POINT, "Point 2", nullptr},       {PF_Param_POPUP, "Repeat", "None|Loop|Pingpong"},
    {PF_Param_COLOR, "Color", nullptr},         {PF_Param_FLOAT_SLIDER, "Opacity", nullptr},
    {PF_Param_BUTTON, "", nullptr},             {PF_Param_SLIDER, "", nullptr}};
#else
const Control kControls[] = {
    {PF_Param_POPUP, "Shape", "Linear|Radial|Conic"}, {PF_Param_POINT, "Point 1", nullptr},
    {PF_Param_POINT, "Point 2", nullptr},             {PF_Param_POPUP, "Repeat", "None|Loop|Pingpong"},
    {PF_Param_COLOR, "Color", nullptr},               {PF_Param_FLOAT_SLIDER, "Opacity", nullptr},
    {PF_Param_BUTTON, "", nullptr},                   {PF_Param_SLIDER, "", nullptr}};
#endif

PF_Err add(PF_InData* in_data, const Control& control) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.param_type = control.type;
    std::strncpy(def.name, control.name, sizeof def.name - 1);
    if (control.type == PF_Param_POPUP) {
        def.u.pd.num_choices = 1;
        for (const char* c = control.choices; *c; ++c) def.u.pd.num_choices += *c == '|';
        def.u.pd.dephault = def.u.pd.value = 1;
        def.u.pd.u.namesptr = control.choices;
    }
    return in_data->inter.add_param(in_data->effect_ref, -1, &def);
}

} // namespace

extern "C" __attribute__((visibility("default"))) PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data,
                                                                        PF_OutData* out_data, PF_ParamDef*[],
                                                                        PF_LayerDef*, void*) {
    if (cmd != PF_Cmd_PARAMS_SETUP) return PF_Err_NONE;
    for (const Control& control : kControls)
        if (PF_Err err = add(in_data, control)) return err;
    out_data->num_params = static_cast<A_long>(sizeof kControls / sizeof kControls[0]) + 1;
    return PF_Err_NONE;
}
