// The host's side of its C boundary: every callback the effect makes runs through serveCall, which finds
// the host this thread serves and turns anything thrown inside the host into a failure the call can report.
// No exception may cross back into the effect: it calls the host from its destructors too, where a throw
// would end the process.
#pragma once

#include "CallingHost.h"
#include "Host.h"

#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace OrvaneHost {

// What a callback returns when the host cannot serve it: the error code, a null object, or nothing.
template <class Result> Result failedCall(PF_Err code) {
    if constexpr (std::is_void_v<Result>)
        return;
    else if constexpr (std::is_pointer_v<Result>)
        return nullptr;
    else if constexpr (std::is_floating_point_v<Result>)
        return std::numeric_limits<Result>::quiet_NaN();
    else
        return static_cast<Result>(code);
}

// Runs body(host) for the host this thread serves. A call on a thread no host lent fails as a bad callback;
// memory that runs out fails as out of memory; anything else thrown fails as an internal error, noted in the
// host's books.
template <class Body> auto serveCall(Body&& body) noexcept -> decltype(body(std::declval<Host&>())) {
    using Result = decltype(body(std::declval<Host&>()));
    Host* host = CallingHost::current();
    if (!host) return failedCall<Result>(PF_Err_BAD_CALLBACK_PARAM);
    try {
        return std::forward<Body>(body)(*host);
    } catch (const std::bad_alloc&) {
        return failedCall<Result>(PF_Err_OUT_OF_MEMORY);
    } catch (...) {
        host->noteInternalFailure();
        return failedCall<Result>(PF_Err_INTERNAL_STRUCT_DAMAGED);
    }
}

} // namespace OrvaneHost
