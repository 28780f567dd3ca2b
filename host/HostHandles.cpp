// The host's memory handles, as "PF Handle Suite" 2 and the handle callbacks serve them: a block behind a
// master pointer, locked and unlocked, moved when its last lock goes if the behaviour says so, and disposed
// of once. Every handle is a books entry of kind "handle" from its making to its disposal.
#include "HandleBlock.h"

#include "CallingHost.h"
#include "FrameState.h"

#include <cstring>

namespace OrvaneHost {

PF_Handle Host::newHandle(A_HandleSize size) {
    HostCall call(recorder(), "host_new_handle", [&] { return std::to_string(size); }, {FaultMode::Null});
    if (call.fault()) return nullptr;
    auto block = std::make_unique<HandleBlock>();
    block->size = size;
    block->bytes = std::make_unique<unsigned char[]>(size ? size : 1);
    std::memset(block->bytes.get(), 0xA5, size); // a fresh handle holds no meaningful bytes
    block->master = block->bytes.get();
    PF_Handle handle = &block->master;
    {
        std::lock_guard<std::mutex> lock(handleMutex);
        handles[handle] = std::move(block);
    }
    objectBooks.open("handle", handle);
    if (FrameState* frame = CallingHost::frame(); frame && frame->phase == RenderPhase::PreRender)
        frame->preRenderHandles.push_back(handle);
    return handle;
}

void* Host::lockHandle(PF_Handle handle) {
    HostCall call(recorder(), "host_lock_handle", "", {FaultMode::Null});
    if (call.fault()) return nullptr;
    std::lock_guard<std::mutex> lock(handleMutex);
    auto it = handles.find(handle);
    if (it == handles.end()) {
        objectBooks.hostError("host_lock_handle: not a live handle");
        return nullptr;
    }
    ++it->second->locks;
    return it->second->master;
}

void Host::unlockHandle(PF_Handle handle) {
    HostCall call(recorder(), "host_unlock_handle", "", {});
    std::lock_guard<std::mutex> lock(handleMutex);
    auto it = handles.find(handle);
    if (it == handles.end()) {
        objectBooks.hostError("host_unlock_handle: not a live handle");
        return;
    }
    HandleBlock& block = *it->second;
    if (block.locks == 0) {
        objectBooks.hostError("host_unlock_handle: handle is not locked");
        return;
    }
    if (--block.locks > 0 || !behaving.relocateUnlockedHandles) return;
    // The block moves; where it was stays allocated but holds garbage from now on.
    auto moved = std::make_unique<unsigned char[]>(block.size ? block.size : 1);
    std::memcpy(moved.get(), block.bytes.get(), block.size);
    std::memset(block.bytes.get(), 0xDB, block.size);
    block.earlier.push_back(std::move(block.bytes));
    block.bytes = std::move(moved);
    block.master = block.bytes.get();
}

void Host::disposeHandle(PF_Handle handle) {
    HostCall call(recorder(), "host_dispose_handle", "", {});
    if (!objectBooks.close("handle", handle, "host_dispose_handle")) return;
    std::lock_guard<std::mutex> lock(handleMutex);
    handles.erase(handle);
    retained.erase(handle);
}

A_HandleSize Host::handleSize(PF_Handle handle) {
    HostCall call(recorder(), "host_get_handle_size", "", {});
    std::lock_guard<std::mutex> lock(handleMutex);
    auto it = handles.find(handle);
    return it == handles.end() ? 0 : it->second->size;
}

bool Host::isHandleLive(PF_Handle handle) const {
    std::lock_guard<std::mutex> lock(handleMutex);
    return handles.count(handle) != 0;
}

int Host::handleLockCount(PF_Handle handle) const {
    std::lock_guard<std::mutex> lock(handleMutex);
    auto it = handles.find(handle);
    return it == handles.end() ? 0 : it->second->locks;
}

std::vector<unsigned char> Host::handleBytes(PF_Handle handle) const {
    std::lock_guard<std::mutex> lock(handleMutex);
    auto it = handles.find(handle);
    if (it == handles.end()) return {};
    const unsigned char* bytes = it->second->bytes.get();
    return std::vector<unsigned char>(bytes, bytes + it->second->size);
}

std::size_t Host::liveHandles() const {
    std::lock_guard<std::mutex> lock(handleMutex);
    return handles.size();
}

void Host::retainHandle(PF_Handle handle) {
    std::lock_guard<std::mutex> lock(handleMutex);
    retained.insert(handle);
}

void Host::releaseRetainedHandle(PF_Handle handle) {
    std::lock_guard<std::mutex> lock(handleMutex);
    retained.erase(handle);
}

} // namespace OrvaneHost
