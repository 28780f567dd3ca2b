// The effect panel as text: what a user sees of each registered parameter.
#include "ParameterControls.h"

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

// The popup entry for a 1-based value, or "?" when the value names none.
std::string choiceName(const std::string& choices, A_long value) {
    std::size_t begin = 0;
    for (A_long item = 1; begin <= choices.size(); ++item) {
        const std::size_t end = std::min(choices.find('|', begin), choices.size());
        if (item == value) return choices.substr(begin, end - begin);
        begin = end + 1;
    }
    return "?";
}

std::string argb(const PF_Pixel8& p) {
    return "ARGB " + std::to_string(p.alpha) + " " + std::to_string(p.red) + " " + std::to_string(p.green) + " " +
           std::to_string(p.blue);
}

void describe(std::ostream& out, const ParamStream& stream) {
    const PF_ParamDef& def = stream.def;
    const PF_ParamDef& now = stream.current;
    switch (def.param_type) {
    case PF_Param_POPUP:
        out << "popup, default " << def.u.pd.dephault << " \"" << choiceName(stream.choices, def.u.pd.dephault)
            << "\", choices \"" << stream.choices << "\" (" << def.u.pd.num_choices << "), value " << now.u.pd.value
            << " \"" << choiceName(stream.choices, now.u.pd.value) << "\"";
        break;
    case PF_Param_POINT:
        out << "point, default (" << pixels(def.u.td.x_dephault) << " %, " << pixels(def.u.td.y_dephault)
            << " %), " << (def.u.td.restrict_bounds ? "within the layer" : "may leave the layer") << ", value ("
            << pixels(now.u.td.x_value) << ", " << pixels(now.u.td.y_value) << ") px";
        break;
    case PF_Param_COLOR:
        out << "color, default " << argb(def.u.cd.dephault) << ", value " << argb(now.u.cd.value);
        break;
    case PF_Param_FLOAT_SLIDER: {
        const PF_FloatSliderDef& fs = def.u.fs_d;
        const int decimals = fs.precision < 0 ? 0 : fs.precision;
        const char* unit = (fs.display_flags & PF_ValueDisplayFlag_PERCENT) ? " %" : "";
        out << "float slider, default " << number(fs.dephault, decimals) << unit << ", valid "
            << number(fs.valid_min, decimals) << " to " << number(fs.valid_max, decimals) << ", slider "
            << number(fs.slider_min, decimals) << " to " << number(fs.slider_max, decimals) << ", value "
            << number(now.u.fs_d.value, decimals) << unit;
        break;
    }
    case PF_Param_SLIDER:
        out << "slider, default " << def.u.sd.dephault << ", valid " << def.u.sd.valid_min << " to "
            << def.u.sd.valid_max << ", slider " << def.u.sd.slider_min << " to " << def.u.sd.slider_max
            << ", value " << now.u.sd.value;
        break;
    case PF_Param_BUTTON:
        out << "button \"" << stream.label << "\"";
        break;
    default:
        out << "type " << def.param_type;
        break;
    }
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

} // namespace OrvaneHost
