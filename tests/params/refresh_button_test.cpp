// PF_Cmd_USER_CHANGED_PARAM: the "Refresh" button bumps the hidden counter and forces a render.
#include "support/AppliedEffect.h"

#include <climits>

using namespace Orvane;
using namespace OrvaneHost;
using OrvaneTest::booksAreClean;
using OrvaneTest::counterValue;

namespace {

using RefreshButton = OrvaneTest::AppliedEffect;

// Sends the notification straight, with the counter and its change flags as given.
struct DirectNotification {
    explicit DirectNotification(Host& host, PF_ParamIndex index, A_long counter, PF_ChangeFlags flags = 0)
        : params(host), extra{index} {
        params[8].u.sd.value = counter;
        params[8].uu.change_flags = flags;
        result = host.send(PF_Cmd_USER_CHANGED_PARAM, params.data(), nullptr, &extra);
    }
    ParamArray params;
    PF_UserChangedParamExtra extra;
    PF_Err result = 0;
};

TEST_F(RefreshButton, ThreePressesCountThreeAndRenderThreeTimes) {
    int hookCalls = 0;
    parameterControls(*host).rerenderHook = [&](Host&) { ++hookCalls; };
    for (int press = 1; press <= 3; ++press) {
        ASSERT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_NONE);
        EXPECT_EQ(counterValue(*host), press);
        EXPECT_EQ(parameterControls(*host).rerenders, static_cast<std::size_t>(press));
    }
    EXPECT_EQ(hookCalls, 3);
}

TEST_F(RefreshButton, AsksForLayerCompAndEffectAndGivesTheEffectBackThroughSuiteThree) {
    host->calls().reset();
    ASSERT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_NONE);
    const std::vector<std::string> expected = {"AEGP_GetEffectLayer", "AEGP_GetLayerParentComp",
                                               "AEGP_GetNewEffectForEffect", "AEGP_DisposeEffect"};
    EXPECT_EQ(OrvaneTest::hostCallNames(*host), expected);
    for (const auto& record : host->calls().records())
        if (record.name == "AEGP_DisposeEffect") {
            EXPECT_EQ(record.detail, "Effect Suite 3");
        }
    EXPECT_EQ(host->acquisitions("AEGP Effect Suite", 2), 1u) << "only the apply's UI update";
    EXPECT_EQ(host->outData().out_flags, PF_OutFlag_FORCE_RERENDER);
}

TEST_F(RefreshButton, TheCounterWrapsFromNineMillionNineHundredNinetyNineThousandNineHundredNinetyNineToZero) {
    host->streams()[kParamRefreshCounter].current.u.sd.value = 9999999;
    ASSERT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_NONE);
    EXPECT_EQ(counterValue(*host), 0);
    ASSERT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_NONE);
    EXPECT_EQ(counterValue(*host), 1);
}

TEST_F(RefreshButton, MarksTheCounterChangedKeepingItsOtherChangeFlags) {
    DirectNotification sent(*host, 7, 41, 0x4);
    ASSERT_EQ(sent.result, PF_Err_NONE);
    EXPECT_EQ(sent.params[8].u.sd.value, 42);
    EXPECT_EQ(sent.params[8].uu.change_flags, 0x4 | PF_ChangeFlag_CHANGED_VALUE);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(sent.params[i].uu.change_flags, 0) << "parameter " << i;
}

TEST_F(RefreshButton, AnyCounterValueTheHostSendsGivesTheSignedRemainder) {
    // (v + 1) mod 10000000 with the sign of the dividend; INT_MAX + 1 = 2147483648 = 214 x 10^7 + 7483648.
    const std::vector<std::pair<A_long, A_long>> cases = {
        {0, 1}, {9999998, 9999999}, {9999999, 0}, {10000000, 1}, {-5, -4}, {-1, 0}, {INT_MAX, 7483648},
        {INT_MIN, -7483647}};
    for (const auto& [before, after] : cases) {
        DirectNotification sent(*host, 7, before);
        EXPECT_EQ(sent.result, PF_Err_NONE);
        EXPECT_EQ(sent.params[8].u.sd.value, after) << "from " << before;
    }
}

TEST_F(RefreshButton, AnotherParameterLeavesTheCounterButStillForcesARender) {
    std::size_t renders = 0;
    for (PF_ParamIndex index : {0, 1, 2, 3, 4, 5, 6, 8, 9, -1, 1000}) {
        host->outData().out_flags = 0;
        ASSERT_EQ(pressButton(*host, index), PF_Err_NONE) << "index " << index;
        EXPECT_EQ(counterValue(*host), 0) << "index " << index;
        EXPECT_EQ(parameterControls(*host).rerenders, ++renders) << "index " << index;
        EXPECT_EQ(host->outData().out_flags, PF_OutFlag_FORCE_RERENDER);
    }
}

TEST_F(RefreshButton, KeepsTheOutFlagsAlreadyThere) {
    host->outData().out_flags = PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    DirectNotification sent(*host, 3, 0);
    EXPECT_EQ(host->outData().out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE | PF_OutFlag_FORCE_RERENDER);
}

TEST_F(RefreshButton, WithoutTheChangedParameterBlockNothingIsCountedButTheRenderIsForced) {
    ParamArray params(*host);
    EXPECT_EQ(host->send(PF_Cmd_USER_CHANGED_PARAM, params.data(), nullptr, nullptr), PF_Err_NONE);
    EXPECT_EQ(params[8].uu.change_flags, 0);
    EXPECT_TRUE(host->outData().out_flags & PF_OutFlag_FORCE_RERENDER);
}

TEST_F(RefreshButton, WithoutAParameterArrayTheButtonReportsABadParameterAndGivesTheEffectBack) {
    PF_UserChangedParamExtra extra{7};
    EXPECT_EQ(host->send(PF_Cmd_USER_CHANGED_PARAM, nullptr, nullptr, &extra), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(host->outData().out_flags & PF_OutFlag_FORCE_RERENDER);
}

TEST_F(RefreshButton, AFailureBeforeTheEffectReferenceLeavesTheCounter) {
    for (const char* failing : {"AEGP_GetEffectLayer", "AEGP_GetLayerParentComp", "AEGP_GetNewEffectForEffect"}) {
        SCOPED_TRACE(failing);
        host.reset(); // one host at a time
        host = OrvaneTest::appliedHost();
        host->calls().addRule({failing, "", 0, false, {FaultMode::Error, 7}});
        EXPECT_EQ(pressButton(*host, kParamRefreshButton), 7);
        EXPECT_EQ(counterValue(*host), 0);
        EXPECT_EQ(parameterControls(*host).rerenders, 1u);
        EXPECT_EQ(host->calls().countOf("AEGP_DisposeEffect"), 1u) << "only the apply's UI update";
        EXPECT_TRUE(booksAreClean(*host));
    }
}

TEST_F(RefreshButton, AFailedDisposalIsReturnedWithTheCounterAlreadyChanged) {
    host->calls().addRule({"AEGP_DisposeEffect", "Effect Suite 3", 0, false, {FaultMode::Error, 7}});
    EXPECT_EQ(pressButton(*host, kParamRefreshButton), 7);
    EXPECT_EQ(counterValue(*host), 1) << "the host takes over what the effect marked changed";
    EXPECT_EQ(parameterControls(*host).rerenders, 1u);
}

TEST_F(RefreshButton, WithoutABasicSuiteReturnsBadCallbackParamAndForcesNothing) {
    host->setBasicSuiteAvailable(false);
    EXPECT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(counterValue(*host), 0);
    EXPECT_EQ(parameterControls(*host).rerenders, 0u);
    EXPECT_FALSE(host->outData().out_flags & PF_OutFlag_FORCE_RERENDER);
}

TEST_F(RefreshButton, ARefusedEffectSuiteLeavesNoEffectReferenceBehind) {
    host->calls().addRule({"AcquireSuite", "AEGP Effect Suite 3", 0, false, {FaultMode::Error, 7}});
    EXPECT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host->books().live("effect ref"), 0u);
    EXPECT_EQ(host->calls().countOf("AEGP_GetNewEffectForEffect"), 1u) << "the reference is not even asked for";
}

} // namespace
