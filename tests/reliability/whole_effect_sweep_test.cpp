// Every host call of every command the effect handles, failed one at a time in every way it can fail, each on
// a fresh host: the command returns the code it must, gives back everything it took, and a frame whose
// failure comes before the pixel pass leaves the output as the host made it. Prints the sweep's size.
#include "support/FrameSweep.h"

#include "host/Scene.h"
#include "params/ParamIndex.h"

#include <cstdio>
#include <string>

using namespace OrvaneHost;
using namespace OrvaneTest;
using namespace Orvane;

namespace {


PF_Err expectedGlobalSetup(const SweepPoint& point) {
    const std::string& name = point.call.name;
    if (name == "AcquireSuite") return PF_Err_BAD_CALLBACK_PARAM;
    if (name == "host_new_handle") return PF_Err_INTERNAL_STRUCT_DAMAGED;
    if (name == "host_lock_handle") return PF_Err_OUT_OF_MEMORY;
    return kInjectedError; // AEGP_RegisterWithAEGP
}

std::size_t sweepLifecycle() {
    std::size_t injected = 0;
    injected += sweepFaults({loadModuleHost, nullptr, [](Host& host) { return host.about(); },
                             [](const SweepPoint& point, PF_Err result, Host& host) {
                                 SCOPED_TRACE(describe("about", point));
                                 EXPECT_EQ(result, PF_Err_NONE) << "About asks the host for nothing it needs";
                                 EXPECT_TRUE(booksAreClean(host));
                                 EXPECT_EQ(host.liveHandles(), 0u);
                             }});
    injected += sweepFaults({loadModuleHost, nullptr, [](Host& host) { return host.globalSetup(); },
                             [](const SweepPoint& point, PF_Err result, Host& host) {
                                 SCOPED_TRACE(describe("global setup", point));
                                 EXPECT_EQ(result, expectedGlobalSetup(point));
                                 EXPECT_EQ(host.outData().global_data, nullptr);
                                 EXPECT_EQ(host.liveHandles(), 0u);
                                 EXPECT_TRUE(booksAreClean(host));
                             }});
    injected += sweepFaults({loadModuleHost, [](Host& host) { ASSERT_EQ(host.globalSetup(), PF_Err_NONE); },
                             [](Host& host) { return host.globalSetdown(); },
                             [](const SweepPoint& point, PF_Err result, Host& host) {
                                 SCOPED_TRACE(describe("global setdown", point));
                                 EXPECT_EQ(result, point.call.name == "AcquireSuite" ? PF_Err_BAD_CALLBACK_PARAM
                                                                                      : PF_Err_NONE);
                                 EXPECT_TRUE(host.unbalancedSuites().empty());
                                 EXPECT_TRUE(host.books().errors().empty());
                             }});
    return injected;
}

std::size_t sweepParameters() {
    std::size_t injected = 0;
    injected += sweepFaults({loadModuleHost, readyForParameterSetup, sendParameterSetup,
                             [](const SweepPoint& point, PF_Err result, Host& host) {
                                 SCOPED_TRACE(describe("parameter setup", point));
                                 EXPECT_EQ(result, kInjectedError);
                                 EXPECT_TRUE(booksAreClean(host));
                                 EXPECT_EQ(host.liveHandles(), 1u) << "only the global data";
                             }});
    const auto codesAndBooks = [](const char* command) {
        return [command](const SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(describe(command, point));
            EXPECT_EQ(result, suiteRefusedOrInjected(point));
            EXPECT_TRUE(booksAreClean(host));
            EXPECT_EQ(host.liveHandles(), 1u) << "only the global data";
        };
    };
    injected += sweepFaults({loadModuleHost, applied, [](Host& host) { return updateParamsUi(host); },
                             codesAndBooks("UI update")});
    injected += sweepFaults({loadModuleHost, applied, [](Host& host) { return pressButton(host, kParamRefreshButton); },
                             codesAndBooks("Refresh pressed")});
    for (PF_ParamIndex changed : {PF_ParamIndex(kParamShape), PF_ParamIndex(kParamColor)})
        injected += sweepFaults({loadModuleHost, applied, [changed](Host& host) { return pressButton(host, changed); },
                                 codesAndBooks("parameter changed")});
    return injected;
}

// ---- frames --------------------------------------------------------------------------------------------

struct FrameScene {
    int depth;
    bool keyframed;
    int threads;
    A_long repeat;
    PF_RationalScale downsample;
};

std::string sceneName(const FrameScene& s) {
    return std::to_string(s.depth) + "-bit " + (s.keyframed ? "keyframed" : "constant") + " on " +
           std::to_string(s.threads) + " thread(s), repeat " + std::to_string(s.repeat) + ", downsample 1/" +
           std::to_string(s.downsample.den);
}

void setScene(Host& host, const FrameScene& scene) {
    HostBehaviour behaviour;
    behaviour.reportedThreads = scene.threads;
    behaviour.rowPaddingBytes = 12;
    host.setBehaviour(behaviour);
    ASSERT_EQ(applyEffect(host), PF_Err_NONE);
    // Points 3 pixels apart keep each keyframed table at a handful of samples.
    Scene values;
    values.set(kParamRepeat, popupValue(scene.repeat))
        .set(kParamPoint1, pointValue(10, 8))
        .set(kParamPoint2, pointValue(13, 8));
    if (scene.keyframed)
        values.key(kParamColor, timeAt(0), colorValue(1, 1, 0, 0))
            .key(kParamColor, timeAt(1), colorValue(0.5, 0, 0, 1))
            .key(kParamOpacity, timeAt(0), sliderValue(10))
            .key(kParamOpacity, timeAt(0.5), sliderValue(90));
    applyScene(host, values);
}

std::size_t sweepFrame(const FrameScene& scene) {
    SCOPED_TRACE(sceneName(scene));
    return sweepFrameFaults([&](Host& host) { setScene(host, scene); },
                            LayerSetup{64, 32, scene.depth, scene.downsample, scene.downsample}, 30000);
}

TEST(WholeEffectFaults, EveryCallOfEveryCommandFailsCleanly) {
    std::size_t injected = 0;
    injected += sweepLifecycle();
    injected += sweepParameters();
    // Every depth, constant and keyframed, every repeat mode, on one thread at full resolution and on three
    // threads at half resolution.
    const PF_RationalScale full{1, 1}, half{1, 2};
    for (int depth : {8, 16, 32})
        for (bool keyframed : {false, true})
            for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong}) {
                injected += sweepFrame({depth, keyframed, 1, repeat, full});
                injected += sweepFrame({depth, keyframed, 3, repeat, half});
            }
    EXPECT_GT(injected, 2000u);
    std::printf("fault sweep: %zu injected failures\n", injected);
}

} // namespace
