// PF_Cmd_PARAMS_SETUP: registers the effect's eight parameters after the host's input layer.
#include "ParamIndex.h"

#include "../entry/Handlers.h"

#include <cstring>

namespace Orvane {

namespace {

constexpr PF_Fixed kFixedOne = 1 << 16; // 1.0 in 16.16

// Every parameter starts from an all-zero definition, so no field of the previous one carries over.
void clear(PF_ParamDef& def) { std::memset(&def, 0, sizeof def); }

PF_Err add(PF_InData* in_data, PF_ParamDef& def, const char* name) {
    in_data->utils->ansi.strcpy(def.name, name);
    return in_data->inter.add_param(in_data->effect_ref, -1, &def);
}

PF_Err addShape(PF_InData* in_data, PF_ParamDef& def) {
    clear(def);
    def.param_type = PF_Param_POPUP;
    def.u.pd.num_choices = kShapeRadial;
    def.u.pd.dephault = kShapeLinear;
    def.u.pd.value = def.u.pd.dephault;
    def.u.pd.u.namesptr = kShapeChoices;
    def.uu.id = kParamShape;
    return add(in_data, def, "Shape");
}

// Point defaults are percentages of the layer's width and height, in 16.16.
PF_Err addPoint(PF_InData* in_data, PF_ParamDef& def, PF_ParamIndex index, const char* name, A_long xPercent,
                A_long yPercent) {
    clear(def);
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    def.param_type = PF_Param_POINT;
    def.u.td.x_dephault = xPercent * kFixedOne;
    def.u.td.y_dephault = yPercent * kFixedOne;
    def.u.td.x_value = def.u.td.x_dephault;
    def.u.td.y_value = def.u.td.y_dephault;
    def.u.td.restrict_bounds = FALSE;
    def.uu.id = index;
    return add(in_data, def, name);
}

PF_Err addRepeat(PF_InData* in_data, PF_ParamDef& def) {
    clear(def);
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    def.param_type = PF_Param_POPUP;
    def.u.pd.num_choices = kRepeatPingpong;
    def.u.pd.dephault = kRepeatNone;
    def.u.pd.value = def.u.pd.dephault;
    def.u.pd.u.namesptr = kRepeatChoices;
    def.uu.id = kParamRepeat;
    return add(in_data, def, "Repeat");
}

PF_Err addColor(PF_InData* in_data, PF_ParamDef& def) {
    clear(def);
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    def.param_type = PF_Param_COLOR;
    def.u.cd.value.red = 255;
    def.u.cd.value.green = 255;
    def.u.cd.value.blue = 255;
    def.u.cd.value.alpha = 255;
    def.u.cd.dephault = def.u.cd.value;
    def.uu.id = kParamColor;
    return add(in_data, def, "Color");
}

// The host accepts typed values from -100 % to 200 %; the slider itself spans 0 to 100.
PF_Err addOpacity(PF_InData* in_data, PF_ParamDef& def) {
    clear(def);
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    def.param_type = PF_Param_FLOAT_SLIDER;
    def.u.fs_d.valid_min = -100.0f;
    def.u.fs_d.valid_max = 200.0f;
    def.u.fs_d.slider_min = 0.0f;
    def.u.fs_d.slider_max = 100.0f;
    def.u.fs_d.value = 100.0;
    def.u.fs_d.dephault = static_cast<A_FpShort>(def.u.fs_d.value);
    def.u.fs_d.precision = 1;
    def.u.fs_d.display_flags = PF_ValueDisplayFlag_PERCENT;
    def.u.fs_d.fs_flags = 0;
    def.u.fs_d.curve_tolerance = 0.05f;
    def.uu.id = kParamOpacity;
    return add(in_data, def, "Opacity");
}

// SUPERVISE makes the host tell the effect when the button is pressed; the label is on the button itself.
PF_Err addRefreshButton(PF_InData* in_data, PF_ParamDef& def) {
    clear(def);
    def.param_type = PF_Param_BUTTON;
    def.u.button_d.u.namesptr = "Refresh";
    def.flags = PF_ParamFlag_SUPERVISE;
    def.ui_flags = 0;
    def.uu.id = kParamRefreshButton;
    return add(in_data, def, "");
}

// A nameless integer that Refresh changes so that the host sees a changed parameter set; it is hidden at
// every UI update.
PF_Err addRefreshCounter(PF_InData* in_data, PF_ParamDef& def) {
    clear(def);
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    def.param_type = PF_Param_SLIDER;
    def.u.sd.value_str[0] = '\0';
    def.u.sd.value_desc[0] = '\0';
    def.u.sd.valid_min = 0;
    def.u.sd.valid_max = kRefreshCounterModulus;
    def.u.sd.slider_min = 0;
    def.u.sd.slider_max = kRefreshCounterModulus;
    def.u.sd.dephault = 0;
    def.u.sd.value = def.u.sd.dephault;
    def.uu.id = kParamRefreshCounter;
    return add(in_data, def, "");
}

} // namespace

PF_Err paramsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
    PF_ParamDef def;
    // Each addition is checked at once: a refused parameter ends the list, and the host gets its code.
    if (PF_Err err = addShape(in_data, def)) return err;
    if (PF_Err err = addPoint(in_data, def, kParamPoint1, "Point 1", 0, 50)) return err;
    if (PF_Err err = addPoint(in_data, def, kParamPoint2, "Point 2", 100, 50)) return err;
    if (PF_Err err = addRepeat(in_data, def)) return err;
    if (PF_Err err = addColor(in_data, def)) return err;
    if (PF_Err err = addOpacity(in_data, def)) return err;
    if (PF_Err err = addRefreshButton(in_data, def)) return err;
    if (PF_Err err = addRefreshCounter(in_data, def)) return err;
    out_data->num_params = kParamCount;
    return PF_Err_NONE;
}

} // namespace Orvane
