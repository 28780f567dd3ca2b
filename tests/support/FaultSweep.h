// Fails every host call a command makes, one at a time and in every way that call can fail, each on a
// fresh host, and hands each outcome to a check.
#pragma once

#include "support/ModuleHost.h"

#include <functional>
#include <memory>

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

// Returns the number of failures injected.
inline std::size_t sweepFaults(const SweepSteps& steps) {
    std::vector<OrvaneHost::CallRecord> calls;
    {
        auto host = steps.makeHost();
        if (steps.setUp) steps.setUp(*host);
        host->calls().reset();
        steps.command(*host);
        calls = host->calls().records();
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

} // namespace OrvaneTest
