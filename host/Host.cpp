#include "Host.h"

#include "FrameState.h"
#include "Services.h"

#include <cstring>
#include <stdexcept>

namespace OrvaneHost {

namespace {
Host* activeHost = nullptr;

SPErr basicAcquire(const char* name, A_long version, const void** suite) {
    return Host::current().acquireSuite(name, version, suite);
}
SPErr basicRelease(const char* name, A_long version) { return Host::current().releaseSuite(name, version); }

std::string suiteKey(const std::string& name, A_long version) { return name + " " + std::to_string(version); }
} // namespace

struct Host::HandleBlock {
    void* master = nullptr; // the handle is the address of this pointer
    std::unique_ptr<unsigned char[]> bytes;
    A_HandleSize size = 0;
    int locks = 0;
};

Host::Host(const std::string& modulePath) : module(std::make_unique<Module>(modulePath)) {
    entry = module->entryPoint();
    install();
}

Host::Host(PF_EntryPointFunc entryPoint) : entry(entryPoint) { install(); }

Host::~Host() {
    if (activeHost == this) activeHost = nullptr;
}

Host& Host::current() {
    if (!activeHost) throw std::logic_error("no host is active");
    return *activeHost;
}

void Host::install() {
    if (activeHost) throw std::logic_error("only one host may be active at a time");
    activeHost = this;
    basic.AcquireSuite = basicAcquire;
    basic.ReleaseSuite = basicRelease;
    in.utils = &utils;
    in.effect_ref = reinterpret_cast<PF_ProgPtr>(&effectInstance);
    in.version = 0x000D0001;
    in.quality = PF_Quality_HI;
    in.time_scale = behaving.timeScale;
    in.time_step = static_cast<A_long>(behaving.timeScale / 30);
    in.downsample_x = PF_RationalScale{1, 1};
    in.downsample_y = PF_RationalScale{1, 1};
    in.pixel_aspect_ratio = PF_RationalScale{1, 1};
    in.width = 1920;
    in.height = 1080;
    installCoreServices(*this);
    installParameterServices(*this);
    installRenderServices(*this);
    installWorldServices(*this);
}

PF_Err Host::about() {
    out = PF_OutData{};
    return send(PF_Cmd_ABOUT);
}

PF_Err Host::globalSetup() {
    out = PF_OutData{};
    const PF_Err err = send(PF_Cmd_GLOBAL_SETUP);
    if (err == PF_Err_NONE && out.global_data) {
        in.global_data = out.global_data;
        retainHandle(in.global_data);
    }
    return err;
}

PF_Err Host::globalSetdown() {
    out = PF_OutData{};
    PF_Handle global = in.global_data;
    const PF_Err err = send(PF_Cmd_GLOBAL_SETDOWN);
    if (global && !isHandleLive(global)) {
        releaseRetainedHandle(global);
        in.global_data = nullptr;
    }
    return err;
}

void Host::serveSuite(const std::string& name, A_long version, const void* table) {
    served[{name, version}] = table;
}

SPErr Host::acquireSuite(const char* name, A_long version, const void** suite) {
    const std::string suiteName = name ? name : "";
    HostCall call(callLog, "AcquireSuite", suiteKey(suiteName, version), {FaultMode::Error, FaultMode::Null});
    if (call.failsWith(FaultMode::Error)) return call.result(call.fault()->code);
    if (call.failsWith(FaultMode::Null)) {
        *suite = nullptr;
        return call.result(0);
    }
    auto it = served.find({suiteName, version});
    if (it == served.end()) {
        *suite = nullptr;
        return call.result(kSuiteNotFound);
    }
    *suite = it->second;
    std::lock_guard<std::mutex> lock(suiteMutex);
    ++acquired[{suiteName, version}];
    return call.result(0);
}

SPErr Host::releaseSuite(const char* name, A_long version) {
    const std::string suiteName = name ? name : "";
    HostCall call(callLog, "ReleaseSuite", suiteKey(suiteName, version), {});
    std::lock_guard<std::mutex> lock(suiteMutex);
    ++released[{suiteName, version}];
    return call.result(0);
}

namespace {
std::size_t countOf(const std::map<std::pair<std::string, A_long>, std::size_t>& counts, const std::string& name,
                    A_long version) {
    auto it = counts.find({name, version});
    return it == counts.end() ? 0 : it->second;
}
} // namespace

std::size_t Host::acquisitions(const std::string& name, A_long version) const {
    std::lock_guard<std::mutex> lock(suiteMutex);
    return countOf(acquired, name, version);
}

std::size_t Host::releases(const std::string& name, A_long version) const {
    std::lock_guard<std::mutex> lock(suiteMutex);
    return countOf(released, name, version);
}

std::vector<std::string> Host::unbalancedSuites() const {
    std::lock_guard<std::mutex> lock(suiteMutex);
    std::vector<std::string> out;
    std::set<std::pair<std::string, A_long>> keys;
    for (const auto& [key, n] : acquired) keys.insert(key);
    for (const auto& [key, n] : released) keys.insert(key);
    for (const auto& key : keys) {
        const long a = static_cast<long>(countOf(acquired, key.first, key.second));
        const long r = static_cast<long>(countOf(released, key.first, key.second));
        if (a != r) out.push_back(suiteKey(key.first, key.second) + ": acquired " + std::to_string(a) +
                                  ", released " + std::to_string(r));
    }
    return out;
}

PF_Handle Host::newHandle(A_HandleSize size) {
    HostCall call(callLog, "host_new_handle", std::to_string(size), {FaultMode::Null});
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
    if (FrameState* frame = commandFrame(); frame && frame->phase == RenderPhase::PreRender)
        frame->preRenderHandles.push_back(handle);
    return handle;
}

void* Host::lockHandle(PF_Handle handle) {
    HostCall call(callLog, "host_lock_handle", "", {FaultMode::Null});
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
    HostCall call(callLog, "host_unlock_handle", "", {});
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
    movedBlocks.push_back(std::move(block.bytes));
    block.bytes = std::move(moved);
    block.master = block.bytes.get();
}

void Host::disposeHandle(PF_Handle handle) {
    HostCall call(callLog, "host_dispose_handle", "", {});
    if (!objectBooks.close("handle", handle, "host_dispose_handle")) return;
    std::lock_guard<std::mutex> lock(handleMutex);
    handles.erase(handle);
    retained.erase(handle);
}

A_HandleSize Host::handleSize(PF_Handle handle) {
    HostCall call(callLog, "host_get_handle_size", "", {});
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

std::vector<std::string> Host::bookProblems() const {
    std::vector<std::string> problems = unbalancedSuites();
    {
        std::lock_guard<std::mutex> lock(handleMutex);
        for (const auto& [handle, block] : handles)
            if (!retained.count(handle))
                problems.push_back("handle of " + std::to_string(block->size) + " bytes leaked");
    }
    for (const auto& [kind, n] : objectBooks.liveCounts())
        if (kind != "handle") problems.push_back(std::to_string(n) + " live " + kind);
    for (const std::string& error : objectBooks.errors()) problems.push_back("host error: " + error);
    return problems;
}

} // namespace OrvaneHost
