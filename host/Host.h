// The simulated host: loads an effect module (or takes an entry point), sends it commands with real
// PF_InData / PF_OutData blocks, serves the suites and callbacks the effect uses, records every call, can
// fail any of them on purpose, and keeps books of everything it hands out.
#pragma once

#include "Books.h"
#include "HostCalls.h"
#include "Module.h"
#include "ParamStreams.h"

#include "../sdk/host_sdk.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

namespace OrvaneHost {

// Error codes the host itself returns (its own choice of values).
constexpr long kSuiteNotFound = 0x2153; // AcquireSuite of a suite the host does not serve

class Host {
public:
    explicit Host(const std::string& modulePath);
    explicit Host(PF_EntryPointFunc entryPoint);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host that serves callbacks right now (one at a time per process).
    static Host& current();

    HostCalls& calls() { return callLog; }
    Books& books() { return objectBooks; }

    // ---- commands ----------------------------------------------------------------------------------
    PF_InData& inData() { return in; }
    PF_OutData& outData() { return out; }
    PF_Err send(PF_Cmd cmd, PF_ParamDef* params[] = nullptr, PF_LayerDef* output = nullptr, void* extra = nullptr);
    // The lifecycle commands, each with a zeroed out_data; global setup's handle becomes the global data.
    PF_Err about();
    PF_Err globalSetup();
    PF_Err globalSetdown();

    // ---- suites --------------------------------------------------------------------------------------
    void serveSuite(const std::string& name, A_long version, const void* table);
    void setBasicSuiteAvailable(bool available) { basicAvailable = available; }
    SPBasicSuite* basicSuite() { return &basic; }
    std::size_t acquisitions(const std::string& name, A_long version) const;
    std::size_t releases(const std::string& name, A_long version) const;
    // Suites whose acquisitions and releases differ, as "name version: +n".
    std::vector<std::string> unbalancedSuites() const;

    // ---- handles ---------------------------------------------------------------------------------
    PF_Handle newHandle(A_HandleSize size);
    void* lockHandle(PF_Handle handle);
    void unlockHandle(PF_Handle handle);
    void disposeHandle(PF_Handle handle);
    A_HandleSize handleSize(PF_Handle handle);
    bool isHandleLive(PF_Handle handle) const;
    int handleLockCount(PF_Handle handle) const;
    std::size_t liveHandles() const;
    // Handles the effect handed over to the host (global data, pre-render data) are not leaks.
    void retainHandle(PF_Handle handle) { retained.insert(handle); }
    void releaseRetainedHandle(PF_Handle handle) { retained.erase(handle); }

    // ---- the effect instance ---------------------------------------------------------------------
    std::vector<ParamStream>& streams() { return paramStreams; }
    const std::vector<ParamStream>& streams() const { return paramStreams; }
    PF_ProgPtr effectRef() const { return in.effect_ref; }
    AEGP_PluginID pluginId() const { return registeredId; }
    void setPluginId(AEGP_PluginID id) { registeredId = id; }

    // ---- books -------------------------------------------------------------------------------------
    // What is wrong after a command: unbalanced suites, leaked handles, live objects, host-side errors.
    std::vector<std::string> bookProblems() const;

    // State a service keeps on the host, created on first use.
    template <class T> T& extension() {
        auto& slot = extensions[extensionKey<T>()];
        if (!slot) slot = std::make_shared<T>();
        return *std::static_pointer_cast<T>(slot);
    }

    // Callback tables the services fill in.
    PF_UtilCallbacks& utilCallbacks() { return utils; }
    PF_InteractCallbacks& interactCallbacks() { return in.inter; }

    // Called by the basic suite.
    SPErr acquireSuite(const char* name, A_long version, const void** suite);
    SPErr releaseSuite(const char* name, A_long version);

private:
    void install();

    std::unique_ptr<Module> module;
    PF_EntryPointFunc entry = nullptr;
    HostCalls callLog;
    Books objectBooks;

    PF_InData in{};
    PF_OutData out{};
    PF_UtilCallbacks utils{};
    SPBasicSuite basic{};
    bool basicAvailable = true;

    std::map<std::pair<std::string, A_long>, const void*> served;
    std::map<std::pair<std::string, A_long>, std::size_t> acquired;
    std::map<std::pair<std::string, A_long>, std::size_t> released;

    struct HandleBlock;
    std::map<PF_Handle, std::unique_ptr<HandleBlock>> handles;
    std::set<PF_Handle> retained;

    std::vector<ParamStream> paramStreams;
    AEGP_PluginID registeredId = 0;
    // Keyed by the address of a variable of each type's own, not by std::type_index: the mingw-w64 C++
    // runtime orders type_info of types in anonymous namespaces inconsistently against named ones, which
    // made the map lose entries on Windows.
    template <class T> static const void* extensionKey() {
        static const char key = 0;
        return &key;
    }
    std::map<const void*, std::shared_ptr<void>> extensions;
    char effectInstance = 0; // its address is the effect reference
};

} // namespace OrvaneHost
