// inter.checkout_param / inter.checkin_param: a parameter's value at a time (parameters 1 and up from their
// streams, parameter 0 the input layer's buffer), and inter.abort. Every checkout is a books entry of kind
// "param checkout", keyed by the record the effect passed, and must be checked in once.
#include "ParamCheckouts.h"

#include "CallingHost.h"
#include "FrameState.h"
#include "Host.h"
#include "ServeCall.h"
#include "Worlds.h"

#include <string>

namespace OrvaneHost {

namespace {

PF_Err checkoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                     A_u_long time_scale, PF_ParamDef* param) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "checkout_param",
                      [&] {
                          return std::to_string(index) + " at " + std::to_string(what_time) + "/" +
                                 std::to_string(time_scale) + " step " + std::to_string(time_step);
                      },
                      {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!host.isEffectRef(effect_ref) || !param) {
            host.books().hostError("checkout_param: bad effect reference or record");
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        if (index == 0) {
            *param = PF_ParamDef{};
            param->param_type = PF_Param_LAYER;
            if (const auto& layer = hostWorlds(host).layer) param->u.ld = layer->world;
        } else if (index > 0 && std::size_t(index) < host.streams().size()) {
            *param = checkoutAt(host.streams()[std::size_t(index)], A_Time{what_time, time_scale});
            if (FrameState* frame = CallingHost::frame()) frame->checkedOut.push_back(CheckedOutValue{index, *param});
        } else {
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        if (host.books().isLive("param checkout", param))
            host.books().hostError("checkout_param: the record already holds a checkout");
        host.books().open("param checkout", param);
        return call.result(PF_Err_NONE);
    });
}

// The checkout ends even when the host reports a failure, so a failed check-in leaves nothing behind.
PF_Err checkinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "checkin_param", "", {FaultMode::Error});
        if (!host.isEffectRef(effect_ref)) {
            host.books().hostError("checkin_param: bad effect reference");
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        if (!host.books().close("param checkout", param, "checkin_param")) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        return call.result(call.fault() ? call.fault()->code : 0L);
    });
}

// Answers as the behaviour says (the user stops the render at some call), unless a fault rule fails the call.
PF_Err abortCheck(PF_ProgPtr effect_ref) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "abort", "", {FaultMode::Error});
        if (!host.isEffectRef(effect_ref)) host.books().hostError("abort: bad effect reference");
        const PF_Err answer = host.abortAnswer();
        return call.result(call.fault() ? call.fault()->code : answer);
    });
}

} // namespace

void abortFromCall(Host& host, std::uint64_t occurrence, PF_Err code) {
    HostBehaviour b = host.behaviour();
    b.abortAtCall = occurrence;
    b.abortCode = code;
    host.setBehaviour(b);
}

void installParamCheckouts(Host& host) {
    PF_InteractCallbacks& inter = host.interactCallbacks();
    inter.checkout_param = checkoutParam;
    inter.checkin_param = checkinParam;
    inter.abort = abortCheck;
}

} // namespace OrvaneHost
