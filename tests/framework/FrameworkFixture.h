// A host served through the effect's own entry point, with in/out blocks for driving the framework
// directly, and host buffers to filter.
#pragma once

#include "support/ModuleHost.h"

#include "entry/EntryPoint.h"
#include "host/HostThreads.h"
#include "host/ParamCheckouts.h"
#include "host/Worlds.h"

#include <memory>
#include <string>

namespace OrvaneTest {

struct FrameworkFixture : ::testing::Test {
    OrvaneHost::Host host{&EntryPointFunc};
    PF_InData in{};
    PF_OutData out{};

    void SetUp() override {
        in = host.inData();
        in.pica_basicP = host.basicSuite();
    }

    std::size_t countOf(const std::string& name) { return host.calls().countOf(name); }

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

inline bool samePixel(const PF_Pixel8& a, const PF_Pixel8& b) {
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace OrvaneTest
