// The simulated host: loads an effect module (or takes an entry point), sends it commands with real
// PF_InData / PF_OutData blocks, serves the suites and callbacks the effect uses, and keeps books of every
// object it hands out. It behaves as its HostBehaviour says, and serves several frames of the effect instance
// at once, each under an effect reference of its own. Tests switch on its recorder, which logs every call and
// can fail any of them on purpose; without it nothing grows with the calls made. Hosts are independent: several
// can run in one process at once, each on its own threads (CallingHost.h).
#pragma once

#include "Books.h"
#include "HostBehaviour.h"
#include "HostCalls.h"
#include "Module.h"
#include "ParamStreams.h"

#include "../sdk/host_sdk.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OrvaneHost {

struct FrameState;

// Error codes the host itself returns (its own choice of values).
constexpr long kSuiteNotFound = 0x2153; // AcquireSuite of a suite the host does not serve

// Whether a host records the calls made into it (and can fail them): what tests ask for, not a renderer.
enum class Recording { Off, On };

class Host {
public:
    explicit Host(const std::string& modulePath, Recording recording = Recording::Off);
    explicit Host(PF_EntryPointFunc entryPoint, Recording recording = Recording::Off);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The call log and fault injection: null, and calls() throws std::logic_error, unless recording.
    HostCalls* recorder() { return callLog.get(); }
    HostCalls& calls();
    Books& books() { return objectBooks; }
    const Books& books() const { return objectBooks; }
    // Something other than memory running out was thrown inside the host while it served a call.
    void noteInternalFailure() noexcept;

    // ---- behaviour -----------------------------------------------------------------------------------
    const HostBehaviour& behaviour() const { return behaving; }
    // Set while no command runs. Sets in_data's time scale (keeping the time step's length) and starts the
    // abort count afresh. Throws std::invalid_argument for a value no host could have (negative padding or
    // threads, a zero time scale, fewer than one frame at once).
    void setBehaviour(const HostBehaviour& behaviour);
    // The answer of the abort callback, counting this call.
    PF_Err abortAnswer();

    // ---- commands ----------------------------------------------------------------------------------
    PF_InData& inData() { return in; }
    PF_OutData& outData() { return out; }
    PF_Err send(PF_Cmd cmd, PF_ParamDef* params[] = nullptr, PF_LayerDef* output = nullptr, void* extra = nullptr);
    // A command of one frame, with the frame's own in_data and out_data; smart pre-render and smart render
    // arrive on a thread of their own when the behaviour says so.
    PF_Err send(FrameState& frame, PF_InData& frameIn, PF_OutData& frameOut, PF_Cmd cmd, void* extra);
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
    // Handles the effect handed over to the host to keep (the global data) are not leaks.
    void retainHandle(PF_Handle handle);
    void releaseRetainedHandle(PF_Handle handle);
    // The bytes of a live handle (empty for any other), read by the host without locking it.
    std::vector<unsigned char> handleBytes(PF_Handle handle) const;

    // ---- the effect instance ---------------------------------------------------------------------
    std::vector<ParamStream>& streams() { return paramStreams; }
    const std::vector<ParamStream>& streams() const { return paramStreams; }
    PF_ProgPtr effectRef() const { return in.effect_ref; }
    // The instance's own reference or that of a frame being rendered.
    bool isEffectRef(PF_ProgPtr ref) const;
    AEGP_PluginID pluginId() const { return registeredId; }
    void setPluginId(AEGP_PluginID id) { registeredId = id; }

    // ---- frames being rendered --------------------------------------------------------------------
    // A frame's effect reference is the address of its state; it is known from begin to end.
    PF_ProgPtr beginFrame(FrameState& frame);
    void endFrame(FrameState& frame);
    FrameState* frameOf(PF_ProgPtr ref) const;
    // The first frame being rendered for which `match` holds, or null.
    FrameState* findFrame(const std::function<bool(const FrameState&)>& match) const;

    // ---- books -------------------------------------------------------------------------------------
    // What is wrong after a command: unbalanced suites, leaked handles, live objects, host-side errors.
    std::vector<std::string> bookProblems() const;

    // State a service keeps on the host, created on first use.
    template <class T> T& extension() {
        std::lock_guard<std::mutex> lock(extensionMutex);
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
    PF_Err dispatch(PF_Cmd cmd, PF_InData& cmdIn, PF_OutData& cmdOut, PF_ParamDef* params[], PF_LayerDef* output,
                    void* extra);

    std::unique_ptr<Module> module;
    PF_EntryPointFunc entry = nullptr;
    std::unique_ptr<HostCalls> callLog;
    Books objectBooks;

    PF_InData in{};
    PF_OutData out{};
    PF_UtilCallbacks utils{};
    SPBasicSuite basic{};
    bool basicAvailable = true;
    HostBehaviour behaving;
    std::atomic<std::uint64_t> abortCalls{0};

    // The suites served, by name and version, each with its table and counts: acquiring or releasing one
    // finds it by the name the effect passed and counts, allocating nothing, so that it cannot fail for want
    // of memory. Only a release of a suite never served (the effect's fault) is counted apart.
    using SuiteKey = std::pair<std::string, A_long>;
    using SuiteName = std::pair<std::string_view, A_long>;
    struct SuiteOrder {
        using is_transparent = void;
        static SuiteName view(const SuiteKey& key) { return {key.first, key.second}; }
        static SuiteName view(const SuiteName& name) { return name; }
        template <class A, class B> bool operator()(const A& a, const B& b) const { return view(a) < view(b); }
    };
    struct ServedSuite {
        const void* table = nullptr;
        std::size_t acquired = 0, released = 0;
    };
    std::map<SuiteKey, ServedSuite, SuiteOrder> served;
    std::map<SuiteKey, std::size_t, SuiteOrder> strayReleases;
    mutable std::mutex suiteMutex; // guards the counts: frames acquire suites at once

    struct HandleBlock;
    mutable std::mutex handleMutex;
    std::map<PF_Handle, std::unique_ptr<HandleBlock>> handles;
    std::set<PF_Handle> retained;

    mutable std::mutex frameMutex;
    std::set<FrameState*> renderingFrames;

    std::vector<ParamStream> paramStreams;
    AEGP_PluginID registeredId = 0;
    // Keyed by the address of a variable of each type's own, not by std::type_index: the mingw-w64 C++
    // runtime orders type_info of types in anonymous namespaces inconsistently against named ones, which
    // made the map lose entries on Windows.
    template <class T> static const void* extensionKey() {
        static const char key = 0;
        return &key;
    }
    std::mutex extensionMutex;
    std::map<const void*, std::shared_ptr<void>> extensions;
    char effectInstance = 0; // its address is the effect reference
};

} // namespace OrvaneHost
