// A host served through the effect's own entry point, with in/out blocks for calling the effect's framework,
// suite table and world services directly (no command reaches them on their own), and host buffers to filter.
#pragma once

#include "support/ModuleHost.h"

#include "entry/EntryPoint.h"
#include "host/CallingHost.h"
#include "host/HostThreads.h"
#include "host/ParamCheckouts.h"
#include "host/Worlds.h"

#include <memory>
#include <string>
#include <vector>

namespace OrvaneTest {

struct FrameworkFixture : ::testing::Test {
    OrvaneHost::Host host{&EntryPointFunc, OrvaneHost::Recording::On};
    // The test calls the framework as the effect does during a command: from a thread the host serves.
    OrvaneHost::CallingHost caller{host};
    PF_InData in{};
    PF_OutData out{};

    void SetUp() override {
        in = host.inData();
        in.pica_basicP = host.basicSuite();
    }

    std::size_t countOf(const std::string& name) { return host.calls().countOf(name); }
    std::vector<OrvaneHost::CallRecord> callsNamed(const std::string& name) {
        std::vector<OrvaneHost::CallRecord> found;
        for (const auto& record : host.calls().records())
            if (record.name == name) found.push_back(record);
        return found;
    }
    // Fails every call named `name` whose detail is `detail` (any detail when empty).
    void failEvery(const std::string& name, const std::string& detail = "", long code = kInjectedError) {
        host.calls().addRule({name, detail, 0, false, {OrvaneHost::FaultMode::Error, code}});
    }

    static std::unique_ptr<OrvaneHost::WorldBuffer> buffer(A_long width, A_long height, int depthBits,
                                                           int padding = 0) {
        auto made = OrvaneHost::makeWorldBuffer(width, height, depthBits, padding, true);
        OrvaneHost::fillPattern(*made, 99);
        return made;
    }
    template <class Pixel> static Pixel& at(OrvaneHost::WorldBuffer& b, A_long x, A_long y) {
        return *reinterpret_cast<Pixel*>(OrvaneHost::pixelAddress(b.world, x, y, b.depth));
    }
};

} // namespace OrvaneTest
