#include "ParameterControls.h"

#include "ParamRegistry.h"

#include <algorithm>
#include <stdexcept>

namespace OrvaneHost {

namespace {

A_Time currentTime(Host& host) { return A_Time{host.inData().current_time, host.inData().time_scale}; }

// Each command starts from clean out data, so flags left by an earlier command cannot act twice.
PF_Err sendCommand(Host& host, PF_Cmd cmd, ParamArray& params, void* extra = nullptr) {
    host.outData() = PF_OutData{};
    host.inData().num_params = static_cast<A_long>(params.size());
    PF_LayerDef output{}; // no pixels outside rendering; the parameter commands do not read it
    return host.send(cmd, params.data(), &output, extra);
}

void honourOutFlags(Host& host) {
    ParameterControlsState& controls = parameterControls(host);
    const PF_OutFlags flags = host.outData().out_flags;
    if (flags & PF_OutFlag_REFRESH_UI) ++controls.redraws;
    if (flags & PF_OutFlag_FORCE_RERENDER) {
        ++controls.rerenders;
        if (controls.rerenderHook) controls.rerenderHook(host);
    }
}

// A value the effect changed, kept within the range the parameter accepts.
StreamValue acceptedValue(const PF_ParamDef& stored, const PF_ParamDef& changed) {
    StreamValue value = valueOf(changed);
    if (stored.param_type == PF_Param_SLIDER)
        value[0] = std::clamp(value[0], double(stored.u.sd.valid_min), double(stored.u.sd.valid_max));
    if (stored.param_type == PF_Param_FLOAT_SLIDER)
        value[0] = std::clamp(value[0], double(stored.u.fs_d.valid_min), double(stored.u.fs_d.valid_max));
    if (stored.param_type == PF_Param_POPUP)
        value[0] = std::clamp(value[0], 1.0, double(std::max<A_short>(stored.u.pd.num_choices, 1)));
    return value;
}

// An animated stream takes the new value as a keyframe at the current time, as the host does.
void takeOverChangedValues(Host& host, ParamArray& params) {
    auto& streams = host.streams();
    for (std::size_t i = 0; i < params.size() && i < streams.size(); ++i) {
        if (!(params[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE)) continue;
        ParamStream& stream = streams[i];
        const StreamValue value = acceptedValue(stream.current, params[i]);
        if (stream.keyframes.empty())
            storeValue(stream.current, value);
        else
            addKeyframe(stream, currentTime(host), value);
    }
}

} // namespace

ParameterControlsState& parameterControls(Host& host) { return host.extension<ParameterControlsState>(); }

ParamArray::ParamArray(Host& host) {
    const A_Time now = currentTime(host);
    defs.reserve(host.streams().size());
    for (const ParamStream& stream : host.streams()) {
        PF_ParamDef def = checkoutAt(stream, now);
        def.uu.change_flags = 0;
        defs.push_back(def);
    }
    for (PF_ParamDef& def : defs) pointers.push_back(&def);
    pointers.push_back(nullptr);
}

PF_Err applyEffect(Host& host) {
    if (host.streams().size() > 1) throw std::logic_error("applyEffect: the effect is applied already");
    ParameterControlsState& controls = parameterControls(host);
    if (!host.inData().global_data) {
        if (PF_Err err = host.globalSetup()) return err;
    }
    if (!controls.globalOutFlagsKnown) {
        controls.globalOutFlags = host.outData().out_flags;
        controls.globalOutFlagsKnown = true;
    }

    ensureInputLayer(host);
    {
        ParamArray params(host);
        host.outData() = PF_OutData{};
        host.outData().num_params = 1; // the input layer, until the effect says more
        host.inData().num_params = 1;
        PF_LayerDef output{};
        if (PF_Err err = host.send(PF_Cmd_PARAMS_SETUP, params.data(), &output)) return err;
        const A_long registered = host.outData().num_params;
        if (registered != static_cast<A_long>(host.streams().size()))
            host.books().hostError("PF_Cmd_PARAMS_SETUP: num_params " + std::to_string(registered) + " but " +
                                   std::to_string(host.streams().size()) + " parameters registered");
        host.inData().num_params = registered;
    }

    if (controls.globalOutFlags & PF_OutFlag_SEND_UPDATE_PARAMS_UI) return updateParamsUi(host);
    return PF_Err_NONE;
}

PF_Err updateParamsUi(Host& host) {
    ++parameterControls(host).uiUpdates;
    ParamArray params(host);
    const PF_Err err = sendCommand(host, PF_Cmd_UPDATE_PARAMS_UI, params);
    honourOutFlags(host);
    return err;
}

PF_Err pressButton(Host& host, PF_ParamIndex index) {
    ParamArray params(host);
    PF_UserChangedParamExtra extra{index};
    const PF_Err err = sendCommand(host, PF_Cmd_USER_CHANGED_PARAM, params, &extra);
    takeOverChangedValues(host, params);
    honourOutFlags(host);
    return err;
}

} // namespace OrvaneHost
