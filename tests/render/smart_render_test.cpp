// Smart render through the loaded module: what it refuses, what it returns, the host threads, and a failure
// injected at every host call of a frame.
#include "RenderFixture.h"

#include "support/FrameSweep.h"

#include "host/ParamCheckouts.h"
#include "host/SmartRenderCallbacks.h"

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

using SmartRender = RenderFixture;

// A small layer: these tests are about the protocol, not the picture.
const LayerSetup kSmallLayer{64, 32};

TEST_F(SmartRender, AFormatOfNoKnownDepthIsNotDrawnAndNotASuccess) {
    animate(kParamColor, kRed, kBlue);
    hostWorlds(*host).reportedFormat = PF_PixelFormat_INVALID;
    FrameSession session(*host, kSmallLayer, 0);
    ASSERT_EQ(session.preRender(), 0);
    EXPECT_EQ(session.smartRender(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(session.outputUntouched());
    EXPECT_EQ(host->calls().countOf("AEGP_GetNewStreamValue"), 0u);
    EXPECT_EQ(host->calls().countOf("abort"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

// A host's pixel checkout may succeed without pixels (the layer has nothing where the frame asks): no host
// call receives a null world, nothing is drawn, the frame succeeds and everything is given back.
TEST_F(SmartRender, ACheckoutWithoutPixelsDrawsNothingAndSucceeds) {
    animate(kParamColor, kRed, kBlue);
    for (bool emptyInput : {true, false})
        for (int depth : {8, 16, 32}) {
            SCOPED_TRACE(testing::Message() << (emptyInput ? "input" : "output") << " without pixels, " << depth
                                            << " bits");
            HostBehaviour behaviour;
            behaviour.emptyInputCheckout = emptyInput;
            behaviour.emptyOutputCheckout = !emptyInput;
            host->setBehaviour(behaviour);
            LayerSetup setup = kSmallLayer;
            setup.depth = depth;
            FrameSession session(*host, setup, 0);
            ASSERT_EQ(session.preRender(), 0);
            EXPECT_EQ(session.smartRender(), 0);
            EXPECT_TRUE(session.outputUntouched());
            EXPECT_TRUE(booksAreClean(*host));
        }
}

TEST_F(SmartRender, AnAbortBeforeThePixelPassIsReturnedWithNoPixelWritten) {
    abortFromCall(*host, 1, 17);
    FrameSession session(*host, kSmallLayer, 0);
    ASSERT_EQ(session.preRender(), 0);
    EXPECT_EQ(session.smartRender(), 17);
    EXPECT_TRUE(session.outputUntouched());
    EXPECT_EQ(host->calls().countOf("AEGP_GetNumThreads"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(SmartRender, WithoutPreRenderDataItReturnsBadCallbackParam) {
    FrameSession session(*host, kSmallLayer, 0);
    host->calls().reset();
    EXPECT_EQ(session.smartRender(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host->calls().countOf("host_lock_handle"), 0u);
    EXPECT_TRUE(session.outputUntouched());
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(SmartRender, AHandleThatWillNotLockEndsTheRenderAtOnce) {
    FrameSession session(*host, kSmallLayer, 0);
    ASSERT_EQ(session.preRender(), 0);
    host->calls().reset();
    host->calls().addRule({"host_lock_handle", "", 1, false, {FaultMode::Null, 0}});
    EXPECT_EQ(session.smartRender(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host->calls().countOf("AEGP_GetEffectLayer"), 0u);
    EXPECT_TRUE(session.outputUntouched());
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(SmartRender, ADisposalFailureIsReturnedWhenNothingFailedBefore) {
    host->calls().addRule({"AEGP_DisposeEffect", "", 0, false, {FaultMode::Error, 41}});
    FrameSession session(*host, kSmallLayer, 0);
    ASSERT_EQ(session.preRender(), 0);
    EXPECT_EQ(session.smartRender(), 41);
    EXPECT_FALSE(session.outputUntouched()) << "the ramp was drawn before the reference went";
}

TEST_F(SmartRender, TheInputAndOutputAreCheckedOutOnceAndTheLayerUnderTheRequestedId) {
    FrameSession session(*host, kSmallLayer, 0);
    ASSERT_EQ(session.preRender(), 0);
    ASSERT_EQ(session.smartRender(), 0);
    const auto records = host->calls().records();
    std::vector<std::string> pixelCheckouts;
    for (const auto& r : records)
        if (r.name == "checkout_layer_pixels") pixelCheckouts.push_back(r.detail);
    EXPECT_EQ(pixelCheckouts, std::vector<std::string>{"id 0"});
    EXPECT_EQ(host->calls().countOf("checkout_output"), 1u);
    EXPECT_EQ(host->calls().countOf("checkin_layer_pixels"), 0u);
    // Asked before the pixel pass; then, on four host threads, by band 0 after each of its 32 / 4 rows.
    const std::uint64_t pixelPass = firstSeqOf(records, "AEGP_GetNumThreads");
    std::size_t before = 0, during = 0;
    for (const auto& r : records)
        if (r.name == "abort") ++(r.seq < pixelPass ? before : during);
    EXPECT_GE(before, 1u);
    EXPECT_GE(during, 8u);
}

TEST_F(SmartRender, OneTwoAndSevenThreadsGiveByteIdenticalFrames) {
    setPopup(kParamShape, kShapeRadial);
    setPopup(kParamRepeat, kRepeatPingpong);
    setPoint(kParamPoint1, 700, 300);
    setPoint(kParamPoint2, 1000, 700);
    key(kParamColor, 0, StreamValue{1, 0.9, 0.1, 0.2});
    key(kParamColor, 0.5, StreamValue{1, 0.1, 0.8, 0.3});
    key(kParamColor, 1, StreamValue{1, 0.2, 0.3, 1.0});
    animateOpacity(100, 20);
    // The full layer at 8 bits; the deeper frames at a quarter of its area, which is enough to put rows
    // of every band on each thread.
    for (int depth : {8, 16, 32}) {
        SCOPED_TRACE(depth);
        LayerSetup setup;
        setup.depth = depth;
        if (depth != 8) setup.downsampleX = setup.downsampleY = PF_RationalScale{1, 2};
        setHostThreads(*host, 1);
        const Frame one = render(setup);
        setHostThreads(*host, 2);
        const Frame two = render(setup);
        setHostThreads(*host, 7);
        const Frame seven = render(setup);
        EXPECT_EQ(one.bytes, two.bytes);
        EXPECT_EQ(one.bytes, seven.bytes);
    }
    EXPECT_TRUE(booksAreClean(*host));
}

// A failure at every host call of a small frame, on one thread or on three.
void sweepFrame(int threads, bool keyframed) {
    const auto setUp = [&](Host& host) {
        ASSERT_EQ(applyEffect(host), PF_Err_NONE);
        setHostThreads(host, threads);
        Scene scene;
        scene.set(kParamPoint1, pointValue(1, 540)).set(kParamPoint2, pointValue(4, 540)); // L = 3: three samples
        if (keyframed)
            scene.key(kParamColor, timeAt(0), kRed)
                .key(kParamColor, timeAt(1), kBlue)
                .key(kParamOpacity, timeAt(0), sliderValue(10))
                .key(kParamOpacity, timeAt(0.5), sliderValue(90));
        applyScene(host, scene);
    };
    EXPECT_GT(sweepFrameFaults(setUp, LayerSetup{6, 5, 16}, 0), 40u);
}

TEST(FrameFaults, EveryHostCallOfAConstantFrameFailsCleanly) { sweepFrame(1, false); }
TEST(FrameFaults, EveryHostCallOfAKeyframedFrameOnThreeThreadsFailsCleanly) { sweepFrame(3, true); }

} // namespace
