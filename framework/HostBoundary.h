// Where the host calls into the effect (the entry point, the iteration callback): no C++ exception may
// cross back into the host, and each kind of failure means the same host code at both.
#pragma once

#include "../sdk/host_sdk.h"

#include <new>

namespace Orvane {

// Calls `body` and returns its result; a host code thrown beneath it (the suite table's 516) is returned as
// it is, an allocation failure as the host's out-of-memory code, anything else as an internal failure.
template <class Body> PF_Err callFromHost(Body&& body) noexcept {
    try {
        return body();
    } catch (PF_Err thrown) {
        return thrown;
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

} // namespace Orvane
