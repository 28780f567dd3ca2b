// The services every command may use: the handle suite and callbacks, the ANSI callbacks and AEGP
// registration.
#include "Host.h"
#include "Services.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace OrvaneHost {

namespace {

PF_Handle newHandle(A_HandleSize size) { return Host::current().newHandle(size); }
void* lockHandle(PF_Handle handle) { return Host::current().lockHandle(handle); }
void unlockHandle(PF_Handle handle) { Host::current().unlockHandle(handle); }
void disposeHandle(PF_Handle handle) { Host::current().disposeHandle(handle); }
A_HandleSize handleSize(PF_Handle handle) { return Host::current().handleSize(handle); }

const PF_HandleSuite2 kHandleSuite2 = {newHandle, lockHandle, unlockHandle, disposeHandle, handleSize};

A_FpLong ansiCeil(A_FpLong x) {
    HostCall call(Host::current().calls(), "ansi.ceil", "", {});
    return std::ceil(x);
}
A_FpLong ansiFloor(A_FpLong x) {
    HostCall call(Host::current().calls(), "ansi.floor", "", {});
    return std::floor(x);
}
A_FpLong ansiFmod(A_FpLong x, A_FpLong y) {
    HostCall call(Host::current().calls(), "ansi.fmod", "", {});
    return std::fmod(x, y);
}
A_FpLong ansiSqrt(A_FpLong x) {
    HostCall call(Host::current().calls(), "ansi.sqrt", "", {});
    return std::sqrt(x);
}

// The host's message buffers are PF_MAX_EFFECT_MSG_LEN + 1 bytes; it never writes past them.
A_long ansiSprintf(A_char* buffer, const A_char* format, ...) {
    HostCall call(Host::current().calls(), "ansi.sprintf", format ? format : "", {});
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, PF_MAX_EFFECT_MSG_LEN + 1, format, args);
    va_end(args);
    return call.result(n);
}

A_char* ansiStrcpy(A_char* dest, const A_char* src) {
    HostCall call(Host::current().calls(), "ansi.strcpy", src ? src : "", {});
    return std::strcpy(dest, src);
}

A_Err registerWithAegp(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* id) {
    Host& host = Host::current();
    HostCall call(host.calls(), "AEGP_RegisterWithAEGP", name ? name : "", {FaultMode::Error});
    if (call.fault()) return call.result(call.fault()->code);
    constexpr AEGP_PluginID kFirstPluginId = 4242;
    host.setPluginId(kFirstPluginId);
    *id = kFirstPluginId;
    return call.result(0);
}

const AEGP_UtilitySuite7 kUtilitySuite7 = {registerWithAegp};

// Callbacks a later service group has not filled in answer as a host does to an unknown request.
PF_Err missingCheckout(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long, PF_ParamDef*) {
    Host::current().books().hostError("checkout_param: not served by this host");
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err missingCheckin(PF_ProgPtr, PF_ParamDef*) {
    Host::current().books().hostError("checkin_param: not served by this host");
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err missingAddParam(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) {
    Host::current().books().hostError("add_param: not served by this host");
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err noAbort(PF_ProgPtr) {
    HostCall call(Host::current().calls(), "abort", "", {FaultMode::Error});
    return call.result(call.fault() ? call.fault()->code : 0);
}
PF_Err noProgress(PF_ProgPtr, A_long, A_long) {
    Host::current().books().hostError("progress: the effect reports no progress");
    return PF_Err_NONE;
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
