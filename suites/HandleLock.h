// A host handle locked for as long as one object lives, through the handle suite or the utility callbacks
// (both lock and unlock alike): unlocked when the object goes, on every way out, and only if the lock held.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

class HandleLock {
public:
    using LockFunction = void* (*)(PF_Handle);
    using UnlockFunction = void (*)(PF_Handle);

    HandleLock(LockFunction lock, UnlockFunction unlock, PF_Handle handle)
        : unlock(unlock), handle(handle), block(handle ? lock(handle) : nullptr) {}
    ~HandleLock() {
        if (block) unlock(handle);
    }
    HandleLock(const HandleLock&) = delete;
    HandleLock& operator=(const HandleLock&) = delete;

    // The handle's block while it is locked; null when the lock failed.
    template <class T> T* get() const { return static_cast<T*>(block); }

private:
    UnlockFunction unlock;
    PF_Handle handle;
    void* block;
};

} // namespace Orvane
