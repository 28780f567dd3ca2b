// An AEGP object (effect reference, stream) that a handler obtained from the host and must give back on
// every way out. The disposal function is taken before the object is asked for, so that a suite the host
// refuses later cannot leave the object behind while the thrown code unwinds the handler.
#pragma once

#include "FirstError.h"

#include "../sdk/host_sdk.h"

namespace Orvane {

template <class Handle>
class ScopedAegpObject {
public:
    using Dispose = A_Err (*)(Handle);

    explicit ScopedAegpObject(Dispose dispose) : dispose(dispose) {}
    // Reached with an object still held only while a thrown code unwinds; its error cannot be reported then.
    ~ScopedAegpObject() { release(); }
    ScopedAegpObject(const ScopedAegpObject&) = delete;
    ScopedAegpObject& operator=(const ScopedAegpObject&) = delete;

    // Where the host writes the new object; null until it does.
    Handle* receive() { return &handle; }
    Handle get() const { return handle; }

    // Gives the object back now, if one was obtained, and returns the host's answer (for keepFirstError).
    PF_Err release() {
        if (!handle) return PF_Err_NONE;
        Handle held = handle;
        handle = nullptr;
        return dispose(held);
    }

private:
    Dispose dispose;
    Handle handle = nullptr;
};

using ScopedEffectRef = ScopedAegpObject<AEGP_EffectRefH>;
using ScopedStreamRef = ScopedAegpObject<AEGP_StreamRefH>;

} // namespace Orvane
