// The services every command may use: the handle suite and callbacks, the ANSI callbacks and AEGP
// registration.
#include "Host.h"
#include "ServeCall.h"
#include "Services.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace OrvaneHost {

namespace {

PF_Handle newHandle(A_HandleSize size) {
    return serveCall([&](Host& host) { return host.newHandle(size); });
}
void* lockHandle(PF_Handle handle) {
    return serveCall([&](Host& host) { return host.lockHandle(handle); });
}
void unlockHandle(PF_Handle handle) {
    serveCall([&](Host& host) { host.unlockHandle(handle); });
}
void disposeHandle(PF_Handle handle) {
    serveCall([&](Host& host) { host.disposeHandle(handle); });
}
A_HandleSize handleSize(PF_Handle handle) {
    return serveCall([&](Host& host) { return host.handleSize(handle); });
}

const PF_HandleSuite2 kHandleSuite2 = {newHandle, lockHandle, unlockHandle, disposeHandle, handleSize};

// The ANSI callbacks cannot fail: their work is done whatever becomes of the record of the call.
void noteCall(const char* name, const char* detail, long result = 0) {
    serveCall([&](Host& host) {
        HostCall call(host.recorder(), name, [&] { return detail ? detail : ""; }, {});
        call.result(result);
    });
}

A_FpLong ansiCeil(A_FpLong x) {
    noteCall("ansi.ceil", "");
    return std::ceil(x);
}
A_FpLong ansiFloor(A_FpLong x) {
    noteCall("ansi.floor", "");
    return std::floor(x);
}
A_FpLong ansiFmod(A_FpLong x, A_FpLong y) {
    noteCall("ansi.fmod", "");
    return std::fmod(x, y);
}
A_FpLong ansiSqrt(A_FpLong x) {
    noteCall("ansi.sqrt", "");
    return std::sqrt(x);
}

// The host's message buffers are PF_MAX_EFFECT_MSG_LEN + 1 bytes; it never writes past them.
A_long ansiSprintf(A_char* buffer, const A_char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, PF_MAX_EFFECT_MSG_LEN + 1, format, args);
    va_end(args);
    noteCall("ansi.sprintf", format, n);
    return n;
}

A_char* ansiStrcpy(A_char* dest, const A_char* src) {
    noteCall("ansi.strcpy", src);
    return std::strcpy(dest, src);
}

A_Err registerWithAegp(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* id) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_RegisterWithAEGP", [&] { return name ? name : ""; }, {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        constexpr AEGP_PluginID kFirstPluginId = 4242;
        host.setPluginId(kFirstPluginId);
        *id = kFirstPluginId;
        return call.result(0);
    });
}

const AEGP_UtilitySuite7 kUtilitySuite7 = {registerWithAegp};

// Callbacks a later service group has not filled in answer as a host does to an unknown request.
PF_Err notServed(const char* message, PF_Err answer) {
    return serveCall([&](Host& host) {
        host.books().hostError(message);
        return answer;
    });
}
PF_Err missingCheckout(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long, PF_ParamDef*) {
    return notServed("checkout_param: not served by this host", PF_Err_BAD_CALLBACK_PARAM);
}
PF_Err missingCheckin(PF_ProgPtr, PF_ParamDef*) {
    return notServed("checkin_param: not served by this host", PF_Err_BAD_CALLBACK_PARAM);
}
PF_Err missingAddParam(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) {
    return notServed("add_param: not served by this host", PF_Err_BAD_CALLBACK_PARAM);
}
PF_Err noAbort(PF_ProgPtr) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "abort", "", {FaultMode::Error});
        return call.result(call.fault() ? call.fault()->code : 0);
    });
}
PF_Err noProgress(PF_ProgPtr, A_long, A_long) {
    return notServed("progress: the effect reports no progress", PF_Err_NONE);
}

} // namespace

void installCoreServices(Host& host) {
    PF_UtilCallbacks& utils = host.utilCallbacks();
    utils.host_new_handle = newHandle;
    utils.host_lock_handle = lockHandle;
    utils.host_unlock_handle = unlockHandle;
    utils.host_dispose_handle = disposeHandle;
    utils.ansi.ceil = ansiCeil;
    utils.ansi.floor = ansiFloor;
    utils.ansi.fmod = ansiFmod;
    utils.ansi.sqrt = ansiSqrt;
    utils.ansi.sprintf = ansiSprintf;
    utils.ansi.strcpy = ansiStrcpy;

    PF_InteractCallbacks& inter = host.interactCallbacks();
    inter.checkout_param = missingCheckout;
    inter.checkin_param = missingCheckin;
    inter.add_param = missingAddParam;
    inter.abort = noAbort;
    inter.progress = noProgress;

    host.serveSuite("PF Handle Suite", 2, &kHandleSuite2);
    host.serveSuite("AEGP Utility Suite", 7, &kUtilitySuite7);
}

} // namespace OrvaneHost
