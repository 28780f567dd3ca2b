// Every host call of parameter setup, UI update and Refresh failed in turn, in every way it can fail: the
// handler returns the right code, sets its out flag where it should, and leaves nothing live.
#include "AppliedEffect.h"

#include "support/FaultSweep.h"

#include "host/ParamRegistry.h"

using namespace OrvaneHost;
using OrvaneTest::booksAreClean;
using OrvaneTest::SweepPoint;

namespace {

std::string describe(const char* command, const SweepPoint& point) {
    return std::string(command) + ": call " + std::to_string(point.occurrence) + " " + point.call.name + " " +
           point.call.detail + " fails with " + OrvaneTest::modeName(point.mode);
}

// A refused suite is thrown as 516; an AEGP call's error comes back unchanged.
PF_Err expectedResult(const SweepPoint& point) {
    return point.call.name == "AcquireSuite" ? PF_Err_BAD_CALLBACK_PARAM : PF_Err(OrvaneTest::kInjectedError);
}

void applied(Host& host) { ASSERT_EQ(applyEffect(host), PF_Err_NONE); }

TEST(ParamFaults, ParameterSetupStopsAtAnyFailedAddition) {
    const std::size_t injected = OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        [](Host& host) {
            ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
            ensureInputLayer(host);
        },
        [](Host& host) {
            host.outData().num_params = 1;
            return host.send(PF_Cmd_PARAMS_SETUP);
        },
        [](const SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(describe("params setup", point));
            EXPECT_EQ(point.call.name, "add_param") << "the only call that can fail";
            EXPECT_EQ(result, OrvaneTest::kInjectedError);
            EXPECT_EQ(host.outData().num_params, 1);
            // Each parameter is one strcpy and one add_param: the layer and those before the failed one remain.
            EXPECT_EQ(host.streams().size(), point.occurrence / 2);
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    EXPECT_EQ(injected, 8u) << "eight additions, each failing one way";
}

TEST(ParamFaults, UiUpdateReturnsTheFirstErrorAndGivesEverythingBack) {
    const std::size_t injected = OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        applied,
        [](Host& host) { return updateParamsUi(host); },
        [](const SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(describe("UI update", point));
            EXPECT_EQ(result, expectedResult(point));
            const bool flagSet = (host.outData().out_flags & PF_OutFlag_REFRESH_UI) != 0;
            EXPECT_EQ(flagSet, result != PF_Err_BAD_CALLBACK_PARAM) << "set on every path but a thrown code";
            const bool flagChanged = point.call.name == "AEGP_DisposeStream" || point.call.name == "AEGP_DisposeEffect";
            EXPECT_EQ(host.streams()[8].flagChanges, flagChanged ? 2 : 1);
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    // Four suites refused two ways each, five AEGP calls failed.
    EXPECT_EQ(injected, 13u);
}

TEST(ParamFaults, RefreshReturnsTheFirstErrorAndGivesEverythingBack) {
    const std::size_t injected = OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        applied,
        [](Host& host) { return pressButton(host, 7); },
        [](const SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(describe("Refresh", point));
            EXPECT_EQ(result, expectedResult(point));
            const bool thrown = result == PF_Err_BAD_CALLBACK_PARAM;
            EXPECT_EQ((host.outData().out_flags & PF_OutFlag_FORCE_RERENDER) != 0, !thrown);
            EXPECT_EQ(parameterControls(host).rerenders, thrown ? 0u : 1u);
            EXPECT_EQ(OrvaneTest::counterValue(host), point.call.name == "AEGP_DisposeEffect" ? 1 : 0);
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    // Three suites refused two ways each, four AEGP calls failed.
    EXPECT_EQ(injected, 10u);
}

TEST(ParamFaults, AnotherParametersNotificationGivesEverythingBackToo) {
    const std::size_t injected = OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        applied,
        [](Host& host) { return pressButton(host, 5); },
        [](const SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(describe("changed parameter 5", point));
            EXPECT_EQ(result, expectedResult(point));
            EXPECT_EQ(OrvaneTest::counterValue(host), 0);
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    EXPECT_EQ(injected, 10u);
}

} // namespace
