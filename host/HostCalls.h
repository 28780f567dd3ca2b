// The recorder tests switch on: the host's record of every call the effect makes into it, and its fault
// injection (any call, chosen by its place in the sequence or by its name, can be made to fail in a way that
// call can fail). A host without it records nothing and fails nothing, so its memory does not grow with calls.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace OrvaneHost {

// How a host call can fail. Error: it returns a non-zero code. Null: it succeeds (or returns) but hands out
// no object (a suite refused with a null pointer, a handle allocation or lock returning null).
enum class FaultMode { Error, Null };

struct Fault {
    FaultMode mode = FaultMode::Error;
    long code = 0; // the error returned for FaultMode::Error
};

struct CallRecord {
    std::uint64_t seq = 0;         // 1-based place among all calls since the last reset
    std::string name;              // e.g. "AcquireSuite", "host_new_handle", "AEGP_GetNewEffectForEffect"
    std::string detail;            // what matters of the arguments, e.g. "PF Handle Suite 2"
    std::vector<FaultMode> modes;  // the ways this call can fail
    std::optional<Fault> injected; // set when the call was made to fail
    long result = 0;               // what the call returned (0 for calls with no error code)
};

// A rule that fails calls. `name` and `detail` empty match every call; `occurrence` counts the matching
// calls from 1 (0: every matching call); `andLater` keeps failing from that occurrence on.
struct FaultRule {
    std::string name;
    std::string detail;
    std::uint64_t occurrence = 0;
    bool andLater = false;
    Fault fault;
};

class HostCalls {
public:
    // Begins a call: records it and says whether, and how, it is to fail. Thread-safe.
    std::optional<Fault> begin(std::string name, std::string detail, std::vector<FaultMode> modes,
                               std::size_t* index = nullptr);
    void finish(std::size_t index, long result);

    void addRule(FaultRule rule);
    void clearRules();
    void reset(); // forgets the record and the match counts (not the rules)

    std::vector<CallRecord> records() const;
    std::size_t count() const;
    std::size_t countOf(const std::string& name) const;
    std::size_t injectedCount() const;

private:
    struct ActiveRule {
        FaultRule rule;
        std::uint64_t matched = 0;
    };

    mutable std::mutex mutex;
    std::vector<CallRecord> log;
    std::vector<ActiveRule> rules;
};

// Records one call for its scope on a host's recorder (none: the call is neither recorded nor failed).
// `detail` is what matters of the arguments: a text, or a function that makes it, called only when recording.
// `fault` says how to fail the call; `result(code)` notes what it returned.
class HostCall {
public:
    template <class Detail>
    HostCall(HostCalls* recorder, const char* name, Detail&& detail, std::initializer_list<FaultMode> modes)
        : calls(recorder) {
        if (calls) injected = calls->begin(name, detailText(std::forward<Detail>(detail)), modes, &index);
    }
    ~HostCall() {
        if (calls) calls->finish(index, returned);
    }
    HostCall(const HostCall&) = delete;
    HostCall& operator=(const HostCall&) = delete;

    const std::optional<Fault>& fault() const { return injected; }
    bool failsWith(FaultMode mode) const { return injected && injected->mode == mode; }
    long result(long code) {
        returned = code;
        return code;
    }

private:
    template <class Detail> static std::string detailText(Detail&& detail) {
        if constexpr (std::is_invocable_v<Detail>)
            return std::string(detail());
        else
            return std::string(detail);
    }

    HostCalls* calls;
    std::size_t index = 0;
    std::optional<Fault> injected;
    long returned = 0;
};

} // namespace OrvaneHost
