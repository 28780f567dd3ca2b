// A host served through the effect's own entry point, and in/out blocks for driving the framework's world
// services directly (they are not reached through any command).
#pragma once

#include "support/ModuleHost.h"

#include "entry/EntryPoint.h"
#include "host/Host.h"

#include <string>
#include <vector>

namespace OrvaneTest {

struct WorldFixture : ::testing::Test {
    OrvaneHost::Host host{&EntryPointFunc};
    PF_InData in{};
    PF_OutData out{};

    void SetUp() override {
        in = host.inData();
        in.pica_basicP = host.basicSuite();
    }

    std::vector<OrvaneHost::CallRecord> callsNamed(const std::string& name) {
        std::vector<OrvaneHost::CallRecord> found;
        for (const auto& record : host.calls().records())
            if (record.name == name) found.push_back(record);
        return found;
    }
    std::size_t countOf(const std::string& name) { return host.calls().countOf(name); }

    // Fails every call named `name` whose detail is `detail` (any detail when empty).
    void failEvery(const std::string& name, const std::string& detail = "", long code = kInjected) {
        host.calls().addRule({name, detail, 0, false, {OrvaneHost::FaultMode::Error, code}});
    }

    static constexpr long kInjected = 7;
};

} // namespace OrvaneTest
