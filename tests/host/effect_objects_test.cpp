// The host's AEGP services for an applied effect, called directly: effect references, layer and composition,
// streams with their values, keyframes and flags, and the books that catch objects used or given back wrongly.
#include "support/AppliedEffect.h"

#include "host/CallingHost.h"
#include "host/EffectObjects.h"
#include "host/ParamRegistry.h"
#include "host/Scene.h"

using namespace Orvane;
using namespace OrvaneHost;
using OrvaneTest::acquire;

namespace {

class EffectObjects : public ::testing::Test {
protected:
    void SetUp() override {
        pfInterface = acquire<AEGP_PFInterfaceSuite1>(*host, "AEGP PF Interface Suite", 1);
        layers = acquire<AEGP_LayerSuite13>(*host, "AEGP Layer Suite", 13);
        effects = acquire<AEGP_EffectSuite3>(*host, "AEGP Effect Suite", 3);
        streams = acquire<AEGP_StreamSuite9>(*host, "AEGP Stream Suite", 9);
        dynamic = acquire<AEGP_DynamicStreamSuite5>(*host, "AEGP Dynamic Stream Suite", 5);
        keyframes = acquire<AEGP_KeyframeSuite4>(*host, "AEGP Keyframe Suite", 4);
        ASSERT_EQ(pfInterface->AEGP_GetNewEffectForEffect(host->pluginId(), host->effectRef(), &effect), 0);
    }
    void TearDown() override {
        if (effect) effects->AEGP_DisposeEffect(effect);
        for (auto [name, version] : std::vector<std::pair<const char*, A_long>>{{"AEGP PF Interface Suite", 1},
                                                                               {"AEGP Layer Suite", 13},
                                                                               {"AEGP Effect Suite", 3},
                                                                               {"AEGP Stream Suite", 9},
                                                                               {"AEGP Dynamic Stream Suite", 5},
                                                                               {"AEGP Keyframe Suite", 4}})
            host->basicSuite()->ReleaseSuite(name, version);
    }

    // No effect reference, stream or stream value is live (the global data handle is the host's own).
    bool noAegpObjectLive() const {
        return host->books().live("effect ref") + host->books().live("stream") +
                   host->books().live("stream value") ==
               0;
    }

    AEGP_StreamRefH stream(PF_ParamIndex index) {
        AEGP_StreamRefH s = nullptr;
        EXPECT_EQ(streams->AEGP_GetNewEffectStreamByIndex(host->pluginId(), effect, index, &s), 0);
        return s;
    }

    std::unique_ptr<Host> host = OrvaneTest::appliedHost();
    CallingHost caller{*host}; // the test calls the services as the effect does during a command
    const AEGP_PFInterfaceSuite1* pfInterface = nullptr;
    const AEGP_LayerSuite13* layers = nullptr;
    const AEGP_EffectSuite3* effects = nullptr;
    const AEGP_StreamSuite9* streams = nullptr;
    const AEGP_DynamicStreamSuite5* dynamic = nullptr;
    const AEGP_KeyframeSuite4* keyframes = nullptr;
    AEGP_EffectRefH effect = nullptr;
};

TEST_F(EffectObjects, EveryObjectHandedOutIsBookedUntilItIsGivenBack) {
    EXPECT_EQ(host->books().live("effect ref"), 1u);
    AEGP_StreamRefH s = stream(kParamColor);
    EXPECT_EQ(host->books().live("stream"), 1u);
    A_Time t{0, kTimeScale};
    AEGP_StreamValue2 value{};
    ASSERT_EQ(streams->AEGP_GetNewStreamValue(host->pluginId(), s, AEGP_LTimeMode_LayerTime, &t, FALSE, &value), 0);
    EXPECT_EQ(host->books().live("stream value"), 1u);
    EXPECT_NE(value.streamH, s) << "the value is an object of its own";
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&value), 0);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), 0);
    EXPECT_EQ(effects->AEGP_DisposeEffect(effect), 0);
    effect = nullptr;
    EXPECT_TRUE(noAegpObjectLive());
    EXPECT_TRUE(host->books().errors().empty());
}

TEST_F(EffectObjects, GivingAnObjectBackTwiceIsAHostError) {
    AEGP_StreamRefH s = stream(kParamRefreshCounter);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), 0);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), kNotLive);
    EXPECT_EQ(effects->AEGP_DisposeEffect(effect), 0);
    EXPECT_EQ(effects->AEGP_DisposeEffect(effect), kNotLive);
    effect = nullptr;
    EXPECT_EQ(host->books().errors().size(), 2u);
}

TEST_F(EffectObjects, UsingADisposedObjectIsAHostError) {
    AEGP_StreamRefH s = stream(kParamOpacity);
    ASSERT_EQ(streams->AEGP_DisposeStream(s), 0);
    A_long count = -1;
    EXPECT_EQ(keyframes->AEGP_GetStreamNumKFs(s, &count), kNotLive);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(dynamic->AEGP_SetDynamicStreamFlag(s, AEGP_DynStreamFlag_HIDDEN, FALSE, TRUE), kNotLive);
    EXPECT_FALSE(host->streams()[kParamOpacity].hidden);
    ASSERT_EQ(effects->AEGP_DisposeEffect(effect), 0);
    AEGP_StreamRefH again = nullptr;
    EXPECT_EQ(streams->AEGP_GetNewEffectStreamByIndex(host->pluginId(), effect, 6, &again), kNotLive);
    EXPECT_EQ(again, nullptr);
    effect = nullptr;
    EXPECT_EQ(host->books().errors().size(), 3u);
    EXPECT_TRUE(noAegpObjectLive());
}

TEST_F(EffectObjects, AFailedDisposalStillTakesTheObjectBack) {
    AEGP_StreamRefH s = stream(kParamPoint2);
    host->calls().addRule({"AEGP_DisposeStream", "", 0, false, {FaultMode::Error, 7}});
    EXPECT_EQ(streams->AEGP_DisposeStream(s), 7);
    EXPECT_EQ(host->books().live("stream"), 0u);
    EXPECT_TRUE(host->books().errors().empty());
}

TEST_F(EffectObjects, UnknownPluginIdsAndParameterIndicesAreRefused) {
    AEGP_EffectRefH other = nullptr;
    EXPECT_EQ(pfInterface->AEGP_GetNewEffectForEffect(host->pluginId() + 1, host->effectRef(), &other),
              kUnknownPlugin);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(host->books().errors().size(), 1u);
    host->books().clearErrors();
    AEGP_StreamRefH s = nullptr;
    for (PF_ParamIndex index : {-1, 9, 1000}) {
        EXPECT_EQ(streams->AEGP_GetNewEffectStreamByIndex(host->pluginId(), effect, index, &s), kNoSuchParam);
        EXPECT_EQ(s, nullptr);
    }
    EXPECT_EQ(host->books().live("stream"), 0u);
}

TEST_F(EffectObjects, TheEffectSitsOnALayerInAComposition) {
    AEGP_LayerH layer = nullptr;
    ASSERT_EQ(pfInterface->AEGP_GetEffectLayer(host->effectRef(), &layer), 0);
    ASSERT_NE(layer, nullptr);
    AEGP_CompH comp = nullptr;
    EXPECT_EQ(layers->AEGP_GetLayerParentComp(layer, &comp), 0);
    EXPECT_NE(comp, nullptr);
    AEGP_CompH none = nullptr;
    EXPECT_EQ(layers->AEGP_GetLayerParentComp(reinterpret_cast<AEGP_LayerH>(effect), &none), kNotLive);
    EXPECT_EQ(none, nullptr);
    host->books().clearErrors();
}

TEST_F(EffectObjects, ColourValuesInterpolateBetweenKeyframesAsAlphaRedGreenBlue) {
    applyScene(*host, Scene().key(kParamColor, timeAt(0), colorValue(1, 1, 0, 0)).key(kParamColor, timeAt(1), colorValue(1, 0, 0, 1)));
    AEGP_StreamRefH s = stream(kParamColor);
    const A_Time half{60000, kTimeScale};
    AEGP_StreamValue2 value{};
    ASSERT_EQ(streams->AEGP_GetNewStreamValue(host->pluginId(), s, AEGP_LTimeMode_CompTime, &half, FALSE, &value), 0);
    EXPECT_EQ(value.val.color.alphaF, 1.0);
    EXPECT_EQ(value.val.color.redF, 0.5);
    EXPECT_EQ(value.val.color.greenF, 0.0);
    EXPECT_EQ(value.val.color.blueF, 0.5);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&value), 0);

    A_long count = 0;
    EXPECT_EQ(keyframes->AEGP_GetStreamNumKFs(s, &count), 0);
    EXPECT_EQ(count, 2);
    A_Time time{};
    EXPECT_EQ(keyframes->AEGP_GetKeyframeTime(s, 1, AEGP_LTimeMode_CompTime, &time), 0);
    EXPECT_EQ(time.value, 120000);
    EXPECT_EQ(time.scale, kTimeScale);
    EXPECT_EQ(keyframes->AEGP_GetKeyframeTime(s, 0, AEGP_LTimeMode_CompTime, &time), 0);
    EXPECT_EQ(time.value, 0);
    EXPECT_EQ(keyframes->AEGP_GetKeyframeTime(s, 2, AEGP_LTimeMode_CompTime, &time), kNoSuchKeyframe);
    EXPECT_EQ(keyframes->AEGP_GetKeyframeTime(s, -1, AEGP_LTimeMode_CompTime, &time), kNoSuchKeyframe);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), 0);
}

TEST_F(EffectObjects, OtherStreamsGiveOneAndTwoDimensionalValues) {
    const A_Time now{0, kTimeScale};
    AEGP_StreamValue2 value{};
    AEGP_StreamRefH opacity = stream(kParamOpacity);
    ASSERT_EQ(streams->AEGP_GetNewStreamValue(host->pluginId(), opacity, 0, &now, FALSE, &value), 0);
    EXPECT_EQ(value.val.one_d, 100.0);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&value), 0);
    AEGP_StreamRefH point = stream(kParamPoint2);
    ASSERT_EQ(streams->AEGP_GetNewStreamValue(host->pluginId(), point, 0, &now, FALSE, &value), 0);
    EXPECT_EQ(value.val.two_d.x, 1920.0);
    EXPECT_EQ(value.val.two_d.y, 540.0);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&value), 0);
    AEGP_StreamRefH layer = stream(kParamInputLayer);
    EXPECT_EQ(streams->AEGP_GetNewStreamValue(host->pluginId(), layer, 0, &now, FALSE, &value), kNoValue);
    for (AEGP_StreamRefH s : {opacity, point, layer}) EXPECT_EQ(streams->AEGP_DisposeStream(s), 0);
    EXPECT_EQ(host->books().live("stream value"), 0u);
}

TEST_F(EffectObjects, AStreamValueGivenBackTwiceIsAHostError) {
    AEGP_StreamRefH s = stream(kParamRepeat);
    const A_Time now{0, kTimeScale};
    AEGP_StreamValue2 value{};
    ASSERT_EQ(streams->AEGP_GetNewStreamValue(host->pluginId(), s, 0, &now, FALSE, &value), 0);
    EXPECT_EQ(value.val.one_d, 1.0);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&value), 0);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&value), kNotLive);
    EXPECT_EQ(host->books().errors().size(), 1u);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), 0);
}

TEST_F(EffectObjects, TheHiddenFlagRecordsWhetherItsChangeWasUndoable) {
    AEGP_StreamRefH s = stream(kParamRefreshCounter);
    EXPECT_EQ(dynamic->AEGP_SetDynamicStreamFlag(s, AEGP_DynStreamFlag_HIDDEN, TRUE, FALSE), 0);
    EXPECT_FALSE(host->streams()[kParamRefreshCounter].hidden);
    EXPECT_TRUE(host->streams()[kParamRefreshCounter].hiddenChangeUndoable);
    EXPECT_EQ(dynamic->AEGP_SetDynamicStreamFlag(s, AEGP_DynStreamFlag_DISABLED, FALSE, TRUE), 0);
    EXPECT_FALSE(host->streams()[kParamRefreshCounter].hidden) << "another flag leaves the hidden one";
    EXPECT_EQ(host->streams()[kParamRefreshCounter].flagChanges, 3);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), 0);
}

TEST(EffectObjectsWithoutRegistration, AnEffectThatNeverRegisteredGetsNoReference) {
    auto host = OrvaneTest::loadModuleHost();
    ensureInputLayer(*host);
    ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    ParamArray params(*host);
    EXPECT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI, params.data()), kUnknownPlugin) << "plug-in id 0";
    EXPECT_EQ(host->books().errors().size(), 1u);
    EXPECT_EQ(host->books().live("effect ref"), 0u);
}

} // namespace
