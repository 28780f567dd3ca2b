// PF_Cmd_UPDATE_PARAMS_UI: the refresh counter is hidden without an undo step, and the panel redrawn.
#include "support/AppliedEffect.h"

using namespace Orvane;
using namespace OrvaneHost;

namespace {

using ParamsUi = OrvaneTest::AppliedEffect;

TEST_F(ParamsUi, ApplyingTheEffectHidesTheCounterWithoutAnUndoStep) {
    const ParamStream& counter = host->streams()[kParamRefreshCounter];
    EXPECT_TRUE(counter.hidden);
    EXPECT_FALSE(counter.hiddenChangeUndoable);
    EXPECT_EQ(counter.flagChanges, 1);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_FALSE(host->streams()[i].hidden) << "parameter " << i;
        EXPECT_EQ(host->streams()[i].flagChanges, 0) << "parameter " << i;
    }
    EXPECT_EQ(parameterControls(*host).uiUpdates, 1u) << "the effect asked for UI updates at global setup";
    EXPECT_EQ(parameterControls(*host).redraws, 1u);
}

TEST_F(ParamsUi, HidesParameterEightThroughItsStreamAndGivesEverythingBack) {
    host->calls().reset();
    ASSERT_EQ(updateParamsUi(*host), PF_Err_NONE);
    const std::vector<std::string> expected = {"AEGP_GetNewEffectForEffect", "AEGP_GetNewEffectStreamByIndex",
                                               "AEGP_SetDynamicStreamFlag", "AEGP_DisposeStream",
                                               "AEGP_DisposeEffect"};
    EXPECT_EQ(OrvaneTest::hostCallNames(*host), expected);
    for (const auto& record : host->calls().records()) {
        if (record.name == "AEGP_GetNewEffectStreamByIndex") {
            EXPECT_EQ(record.detail, "index " + std::to_string(kParamRefreshCounter));
        }
        if (record.name == "AEGP_SetDynamicStreamFlag") {
            EXPECT_EQ(record.detail, "flag 2 undoable 0 set 1");
        }
        if (record.name == "AEGP_DisposeEffect") {
            EXPECT_EQ(record.detail, "Effect Suite 2");
        }
    }
    EXPECT_EQ(host->acquisitions("AEGP Effect Suite", 3), 0u);
    EXPECT_EQ(host->outData().out_flags, PF_OutFlag_REFRESH_UI);
}

TEST_F(ParamsUi, HidesTheCounterAgainAtEveryUpdate) {
    host->streams()[kParamRefreshCounter].hidden = false; // as if something had shown it
    ASSERT_EQ(updateParamsUi(*host), PF_Err_NONE);
    ASSERT_EQ(updateParamsUi(*host), PF_Err_NONE);
    EXPECT_TRUE(host->streams()[kParamRefreshCounter].hidden);
    EXPECT_EQ(host->streams()[kParamRefreshCounter].flagChanges, 3);
    EXPECT_EQ(parameterControls(*host).redraws, 3u);
}

TEST_F(ParamsUi, KeepsTheOutFlagsAlreadyThere) {
    ParamArray params(*host);
    host->outData().out_flags = PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    ASSERT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI, params.data()), PF_Err_NONE);
    EXPECT_EQ(host->outData().out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE | PF_OutFlag_REFRESH_UI);
}

TEST_F(ParamsUi, AFailedEffectReferenceLeavesTheStreamAloneButStillRedraws) {
    host->calls().reset();
    host->calls().addRule({"AEGP_GetNewEffectForEffect", "", 0, false, {FaultMode::Error, 7}});
    EXPECT_EQ(updateParamsUi(*host), 7);
    EXPECT_EQ(host->calls().countOf("AEGP_GetNewEffectStreamByIndex"), 0u);
    EXPECT_EQ(host->streams()[kParamRefreshCounter].flagChanges, 1) << "only the first update's change";
    EXPECT_TRUE(host->outData().out_flags & PF_OutFlag_REFRESH_UI);
}

TEST_F(ParamsUi, AFailedFlagChangeIsReturnedAfterTheStreamAndEffectAreGivenBack) {
    host->calls().addRule({"AEGP_SetDynamicStreamFlag", "", 0, false, {FaultMode::Error, 7}});
    EXPECT_EQ(updateParamsUi(*host), 7);
    EXPECT_EQ(host->calls().countOf("AEGP_DisposeStream"), 2u);
    EXPECT_EQ(host->calls().countOf("AEGP_DisposeEffect"), 2u);
    EXPECT_TRUE(host->outData().out_flags & PF_OutFlag_REFRESH_UI);
}

TEST_F(ParamsUi, TheFirstErrorWinsOverALaterDisposalError) {
    host->calls().addRule({"AEGP_GetNewEffectStreamByIndex", "", 0, false, {FaultMode::Error, 7}});
    host->calls().addRule({"AEGP_DisposeEffect", "", 0, false, {FaultMode::Error, 8}});
    EXPECT_EQ(updateParamsUi(*host), 7);
}

TEST_F(ParamsUi, ADisposalErrorIsReturnedWhenNothingFailedBefore) {
    host->calls().addRule({"AEGP_DisposeStream", "", 0, false, {FaultMode::Error, 8}});
    EXPECT_EQ(updateParamsUi(*host), 8);
    EXPECT_TRUE(host->streams()[kParamRefreshCounter].hidden);
}

TEST_F(ParamsUi, WithoutABasicSuiteReturnsBadCallbackParamAndSetsNoFlag) {
    host->setBasicSuiteAvailable(false);
    EXPECT_EQ(updateParamsUi(*host), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_FALSE(host->outData().out_flags & PF_OutFlag_REFRESH_UI);
    EXPECT_EQ(parameterControls(*host).redraws, 1u) << "only the apply's redraw";
}

TEST_F(ParamsUi, ARefusedStreamSuiteUnwindsWithTheEffectReferenceGivenBack) {
    host->calls().addRule({"AcquireSuite", "AEGP Dynamic Stream Suite 5", 0, false, {FaultMode::Null, 0}});
    EXPECT_EQ(updateParamsUi(*host), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host->books().live("effect ref"), 0u);
    EXPECT_EQ(host->books().live("stream"), 0u);
    EXPECT_FALSE(host->outData().out_flags & PF_OutFlag_REFRESH_UI);
}

} // namespace
