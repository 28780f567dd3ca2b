// The effect panel as text: what a user sees of each registered parameter.
#include "ParameterControls.h"

#include "PopupChoices.h"

#include <cstdio>
#include <sstream>

namespace OrvaneHost {

namespace {

std::string number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string pixels(PF_Fixed fixed) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", fixed / 65536.0);
    return text;
}

std::string argb(const PF_Pixel8& p) {
    return "ARGB " + std::to_string(p.alpha) + " " + std::to_string(p.red) + " " + std::to_string(p.green) + " " +
           std::to_string(p.blue);
}

// A value as the control shows it: a popup's item with its name, a point in pixels, a colour's bytes, a
// slider's number with its unit.
void describeValue(std::ostream& out, const ParamStream& stream, const PF_ParamDef& value) {
    switch (stream.def.param_type) {
    case PF_Param_POPUP:
        out << value.u.pd.value << " \"" << popupChoiceName(stream.choices, value.u.pd.value) << "\"";
        break;
    case PF_Param_POINT:
        out << "(" << pixels(value.u.td.x_value) << ", " << pixels(value.u.td.y_value) << ") px";
        break;
    case PF_Param_COLOR:
        out << argb(value.u.cd.value);
        break;
    case PF_Param_FLOAT_SLIDER: {
        const PF_FloatSliderDef& fs = stream.def.u.fs_d;
        out << number(value.u.fs_d.value, fs.precision < 0 ? 0 : fs.precision)
            << ((fs.display_flags & PF_ValueDisplayFlag_PERCENT) ? " %" : "");
        break;
    }
    case PF_Param_SLIDER:
        out << value.u.sd.value;
        break;
    default:
        out << "no value";
        break;
    }
}

void describe(std::ostream& out, const ParamStream& stream) {
    const PF_ParamDef& def = stream.def;
    switch (def.param_type) {
    case PF_Param_POPUP:
        out << controlKind(def.param_type) << ", default " << def.u.pd.dephault << " \"" << popupChoiceName(stream.choices, def.u.pd.dephault)
            << "\", choices \"" << stream.choices << "\" (" << def.u.pd.num_choices << ")";
        break;
    case PF_Param_POINT:
        out << controlKind(def.param_type) << ", default (" << pixels(def.u.td.x_dephault) << " %, " << pixels(def.u.td.y_dephault)
            << " %), " << (def.u.td.restrict_bounds ? "within the layer" : "may leave the layer");
        break;
    case PF_Param_COLOR:
        out << controlKind(def.param_type) << ", default " << argb(def.u.cd.dephault);
        break;
    case PF_Param_FLOAT_SLIDER: {
        const PF_FloatSliderDef& fs = def.u.fs_d;
        const int decimals = fs.precision < 0 ? 0 : fs.precision;
        const char* unit = (fs.display_flags & PF_ValueDisplayFlag_PERCENT) ? " %" : "";
        out << controlKind(def.param_type) << ", default " << number(fs.dephault, decimals) << unit << ", valid "
            << number(fs.valid_min, decimals) << " to " << number(fs.valid_max, decimals) << ", slider "
            << number(fs.slider_min, decimals) << " to " << number(fs.slider_max, decimals);
        break;
    }
    case PF_Param_SLIDER:
        out << controlKind(def.param_type) << ", default " << def.u.sd.dephault << ", valid " << def.u.sd.valid_min << " to "
            << def.u.sd.valid_max << ", slider " << def.u.sd.slider_min << " to " << def.u.sd.slider_max;
        break;
    case PF_Param_BUTTON:
        out << controlKind(def.param_type) << " \"" << stream.label << "\"";
        return;
    default:
        out << controlKind(def.param_type);
        return;
    }
    // An animated control's value is its keyframes' at each time: --verbose shows it per frame.
    if (!stream.keyframes.empty()) {
        out << ", animated: " << stream.keyframes.size() << (stream.keyframes.size() == 1 ? " keyframe" : " keyframes");
        return;
    }
    out << ", value ";
    describeValue(out, stream, stream.current);
}

} // namespace

std::string controlList(const Host& host, bool showHidden) {
    const auto& streams = host.streams();
    std::ostringstream out;
    // Index 0 is the layer the effect is applied to: the panel shows no control for it.
    for (std::size_t i = 1; i < streams.size(); ++i) {
        const ParamStream& stream = streams[i];
        if (stream.hidden && !showHidden) continue;
        out << i << " \"" << stream.def.name << "\": ";
        describe(out, stream);
        if (stream.hidden) out << ", hidden";
        out << "\n";
    }
    return out.str();
}

std::string controlKind(PF_ParamType type) {
    switch (type) {
    case PF_Param_LAYER: return "layer";
    case PF_Param_POPUP: return "popup";
    case PF_Param_POINT: return "point";
    case PF_Param_COLOR: return "color";
    case PF_Param_FLOAT_SLIDER: return "float slider";
    case PF_Param_SLIDER: return "slider";
    case PF_Param_BUTTON: return "button";
    default: return "type " + std::to_string(type);
    }
}

std::string controlName(const Host& host, PF_ParamIndex index) {
    const auto& streams = host.streams();
    if (index < 0 || std::size_t(index) >= streams.size()) return "parameter " + std::to_string(index);
    return "\"" + std::string(streams[std::size_t(index)].def.name) + "\"";
}

std::string controlValue(const Host& host, PF_ParamIndex index, const PF_ParamDef& value) {
    const auto& streams = host.streams();
    if (index < 0 || std::size_t(index) >= streams.size()) return controlName(host, index);
    std::ostringstream out;
    out << controlName(host, index) << " ";
    describeValue(out, streams[std::size_t(index)], value);
    return out.str();
}

} // namespace OrvaneHost
