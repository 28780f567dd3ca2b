// Fails every host call a command makes, one at a time and in every way that call can fail, each on a
// fresh host, and hands each outcome to a check; with the set-ups and commands more than one sweep fails.
#pragma once

#include "support/ModuleHost.h"

#include "host/ParamRegistry.h"
#include "host/ParameterControls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace OrvaneTest {

struct SweepPoint {
    std::uint64_t occurrence; // 1-based place of the failed call within the command
    OrvaneHost::CallRecord call;
    OrvaneHost::FaultMode mode;
};

struct SweepSteps {
    std::function<std::unique_ptr<OrvaneHost::Host>()> makeHost;
    std::function<void(OrvaneHost::Host&)> setUp;   // commands before the one under test (not failed)
    std::function<PF_Err(OrvaneHost::Host&)> command;
    std::function<void(const SweepPoint&, PF_Err, OrvaneHost::Host&)> check;
};

// Sees the command's result and calls when nothing fails, before any failure is injected.
using BaselineCheck = std::function<void(PF_Err, const std::vector<OrvaneHost::CallRecord>&)>;

// Returns the number of failures injected.
inline std::size_t sweepFaults(const SweepSteps& steps, const BaselineCheck& baseline = {}) {
    std::vector<OrvaneHost::CallRecord> calls;
    {
        auto host = steps.makeHost();
        if (steps.setUp) steps.setUp(*host);
        host->calls().reset();
        const PF_Err result = steps.command(*host);
        calls = host->calls().records();
        if (baseline) baseline(result, calls);
    }
    std::size_t injected = 0;
    for (std::uint64_t k = 1; k <= calls.size(); ++k) {
        for (OrvaneHost::FaultMode mode : calls[k - 1].modes) {
            auto host = steps.makeHost();
            if (steps.setUp) steps.setUp(*host);
            host->calls().reset();
            host->calls().addRule({"", "", k, false, {mode, kInjectedError}});
            const PF_Err result = steps.command(*host);
            ++injected;
            steps.check(SweepPoint{k, calls[k - 1], mode}, result, *host);
        }
    }
    return injected;
}

inline const char* modeName(OrvaneHost::FaultMode mode) {
    return mode == OrvaneHost::FaultMode::Error ? "error" : "null";
}

inline std::string describe(const std::string& command, const SweepPoint& point) {
    return command + ": call " + std::to_string(point.occurrence) + " " + point.call.name + " (" +
           point.call.detail + ") fails with " + modeName(point.mode);
}

// The sequence number of the first call named `name` (0 when there is none).
inline std::uint64_t firstSeqOf(const std::vector<OrvaneHost::CallRecord>& calls, const std::string& name) {
    for (const auto& record : calls)
        if (record.name == name) return record.seq;
    return 0;
}

// A refused suite comes back as 516 from the suite table; an AEGP or callback error comes back unchanged.
inline PF_Err suiteRefusedOrInjected(const SweepPoint& point) {
    return point.call.name == "AcquireSuite" ? PF_Err_BAD_CALLBACK_PARAM : PF_Err(kInjectedError);
}

// Parameter setup as the host sends it: after global setup, with the input layer in place.
inline void readyForParameterSetup(OrvaneHost::Host& host) {
    ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
    OrvaneHost::ensureInputLayer(host);
}
inline PF_Err sendParameterSetup(OrvaneHost::Host& host) {
    host.outData().num_params = 1;
    return host.send(PF_Cmd_PARAMS_SETUP);
}
inline void applied(OrvaneHost::Host& host) { ASSERT_EQ(OrvaneHost::applyEffect(host), PF_Err_NONE); }

} // namespace OrvaneTest
