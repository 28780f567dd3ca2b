#include "ParamRegistry.h"

#include "Host.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace OrvaneHost {

namespace {

std::size_t choiceCount(const std::string& choices) {
    return static_cast<std::size_t>(std::count(choices.begin(), choices.end(), '|')) + 1;
}

ParamStream streamFor(const PF_ParamDef& def, A_long width, A_long height) {
    ParamStream stream;
    stream.def = def;
    stream.def.name[sizeof stream.def.name - 1] = '\0'; // a name without its terminator stops here
    if (def.param_type == PF_Param_POPUP && def.u.pd.u.namesptr) stream.choices = def.u.pd.u.namesptr;
    if (def.param_type == PF_Param_BUTTON && def.u.button_d.u.namesptr) stream.label = def.u.button_d.u.namesptr;
    stream.current = stream.def;
    if (def.param_type == PF_Param_POINT) {
        stream.current.u.td.x_value = pointDefaultPosition(def.u.td.x_dephault, width);
        stream.current.u.td.y_value = pointDefaultPosition(def.u.td.y_dephault, height);
    }
    return stream;
}

void checkPopup(Host& host, const ParamStream& stream) {
    if (stream.def.param_type != PF_Param_POPUP) return;
    const std::size_t offered = choiceCount(stream.choices);
    if (stream.def.u.pd.num_choices < 1 || offered != static_cast<std::size_t>(stream.def.u.pd.num_choices))
        host.books().hostError("add_param: popup \"" + std::string(stream.def.name) + "\" declares " +
                               std::to_string(stream.def.u.pd.num_choices) + " choices but names " +
                               std::to_string(offered));
}

} // namespace

PF_Fixed pointDefaultPosition(PF_Fixed percentDefault, A_long layerSize) {
    const double position = std::round(percentDefault / 65536.0 / 100.0 * layerSize * 65536.0);
    return static_cast<PF_Fixed>(std::clamp(position, -2147483648.0, 2147483647.0));
}

void repointStrings(std::vector<ParamStream>& streams) {
    for (ParamStream& stream : streams) {
        for (PF_ParamDef* def : {&stream.def, &stream.current}) {
            if (def->param_type == PF_Param_POPUP) def->u.pd.u.namesptr = stream.choices.c_str();
            if (def->param_type == PF_Param_BUTTON) def->u.button_d.u.namesptr = stream.label.c_str();
        }
    }
}

void ensureInputLayer(Host& host) {
    auto& streams = host.streams();
    if (!streams.empty()) return;
    ParamStream layer;
    layer.def.param_type = PF_Param_LAYER;
    layer.current = layer.def;
    streams.push_back(layer);
}

PF_Err registerParam(Host& host, PF_ProgPtr effectRef, PF_ParamIndex index, const PF_ParamDef* def) {
    HostCall call(host.recorder(), "add_param",
                  def ? std::to_string(index) + " " + std::string(def->name, strnlen(def->name, sizeof def->name))
                      : std::to_string(index),
                  {FaultMode::Error});
    if (call.fault()) return call.result(call.fault()->code);
    if (effectRef != host.effectRef()) {
        host.books().hostError("add_param: not this host's effect reference");
        return call.result(PF_Err_BAD_CALLBACK_PARAM);
    }
    if (!def) {
        host.books().hostError("add_param: no definition");
        return call.result(kBadParamDefinition);
    }
    ensureInputLayer(host);
    auto& streams = host.streams();
    if (index != -1 && index != static_cast<PF_ParamIndex>(streams.size())) {
        host.books().hostError("add_param: index " + std::to_string(index) + " while " +
                               std::to_string(streams.size()) + " parameters exist");
        return call.result(kParamIndexOutOfOrder);
    }
    streams.push_back(streamFor(*def, host.inData().width, host.inData().height));
    repointStrings(streams);
    checkPopup(host, streams.back());
    return call.result(PF_Err_NONE);
}

} // namespace OrvaneHost
