#include "Host.h"

#include "HandleBlock.h"
#include "ServeCall.h"
#include "Services.h"

#include <stdexcept>

namespace OrvaneHost {

namespace {
SPErr basicAcquire(const char* name, A_long version, const void** suite) {
    return serveCall([&](Host& host) { return host.acquireSuite(name, version, suite); });
}
SPErr basicRelease(const char* name, A_long version) {
    return serveCall([&](Host& host) { return host.releaseSuite(name, version); });
}

std::string suiteKey(const std::string& name, A_long version) { return name + " " + std::to_string(version); }
} // namespace

Host::Host(const std::string& modulePath, Recording recording) : module(std::make_unique<Module>(modulePath)) {
    entry = module->entryPoint();
    if (recording == Recording::On) callLog = std::make_unique<HostCalls>();
    install();
}

Host::Host(PF_EntryPointFunc entryPoint, Recording recording) : entry(entryPoint) {
    if (recording == Recording::On) callLog = std::make_unique<HostCalls>();
    install();
}

Host::~Host() = default;

HostCalls& Host::calls() {
    if (!callLog) throw std::logic_error("this host records no calls: make it with Recording::On");
    return *callLog;
}

void Host::noteInternalFailure() noexcept {
    try {
        objectBooks.hostError("an exception was thrown inside the host while it served a call");
    } catch (...) {
        // Nowhere left to note it: the call still fails.
    }
}

void Host::install() {
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
    served[{name, version}].table = table;
}

SPErr Host::acquireSuite(const char* name, A_long version, const void** suite) {
    const std::string_view suiteName = name ? name : "";
    HostCall call(recorder(), "AcquireSuite", [&] { return suiteKey(std::string(suiteName), version); },
                  {FaultMode::Error, FaultMode::Null});
    if (call.failsWith(FaultMode::Error)) return call.result(call.fault()->code);
    if (call.failsWith(FaultMode::Null)) {
        *suite = nullptr;
        return call.result(0);
    }
    auto it = served.find(SuiteName{suiteName, version});
    if (it == served.end()) {
        *suite = nullptr;
        return call.result(kSuiteNotFound);
    }
    *suite = it->second.table;
    std::lock_guard<std::mutex> lock(suiteMutex);
    ++it->second.acquired;
    return call.result(0);
}

SPErr Host::releaseSuite(const char* name, A_long version) {
    const std::string_view suiteName = name ? name : "";
    HostCall call(recorder(), "ReleaseSuite", [&] { return suiteKey(std::string(suiteName), version); }, {});
    std::lock_guard<std::mutex> lock(suiteMutex);
    auto it = served.find(SuiteName{suiteName, version});
    if (it != served.end())
        ++it->second.released;
    else
        ++strayReleases[SuiteKey{std::string(suiteName), version}];
    return call.result(0);
}

std::size_t Host::acquisitions(const std::string& name, A_long version) const {
    std::lock_guard<std::mutex> lock(suiteMutex);
    auto it = served.find(SuiteName{name, version});
    return it == served.end() ? 0 : it->second.acquired;
}

std::size_t Host::releases(const std::string& name, A_long version) const {
    std::lock_guard<std::mutex> lock(suiteMutex);
    auto it = served.find(SuiteName{name, version});
    if (it != served.end()) return it->second.released;
    auto stray = strayReleases.find(SuiteName{name, version});
    return stray == strayReleases.end() ? 0 : stray->second;
}

std::vector<std::string> Host::unbalancedSuites() const {
    std::lock_guard<std::mutex> lock(suiteMutex);
    std::map<SuiteKey, std::pair<std::size_t, std::size_t>> counts; // acquired, released, in name order
    for (const auto& [key, suite] : served) counts[key] = {suite.acquired, suite.released};
    for (const auto& [key, n] : strayReleases) counts[key] = {0, n};
    std::vector<std::string> out;
    for (const auto& [key, n] : counts)
        if (n.first != n.second)
            out.push_back(suiteKey(key.first, key.second) + ": acquired " + std::to_string(n.first) + ", released " +
                          std::to_string(n.second));
    return out;
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
