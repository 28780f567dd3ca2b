// Smart pre-render through the loaded module: the record, the input request and the rectangles, the
// parameter checkouts, the handle's life, and every failure path.
#include "RenderFixture.h"

#include "render/RampRenderParams.h"

#include <array>
#include <cstring>

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

std::array<A_long, 4> corners(const PF_LRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The record's fields as plain values: the record itself is packed, so its fields cannot be bound to the
// references the assertions take.
struct Record {
    A_long shape;
    double point1[2], point2[2];
    A_long repeat;
    float color[4];
    float opacity;
};

struct PreRender : RenderFixture {
    // The handle pre-render made for its record. The host never looks inside it; the test knows the effect.
    PF_Handle recordHandle(FrameSession& session) {
        for (PF_Handle handle : session.state().preRenderHandles)
            if (host->handleBytes(handle).size() == sizeof(Orvane::RampRenderParams)) return handle;
        return nullptr;
    }
    Record recordOf(FrameSession& session) {
        Orvane::RampRenderParams packed{};
        const std::vector<unsigned char> bytes = host->handleBytes(recordHandle(session));
        EXPECT_EQ(bytes.size(), sizeof packed);
        if (bytes.size() == sizeof packed) std::memcpy(&packed, bytes.data(), sizeof packed);
        return Record{packed.shape,
                      {packed.point1[0], packed.point1[1]},
                      {packed.point2[0], packed.point2[1]},
                      packed.repeat,
                      {packed.color[0], packed.color[1], packed.color[2], packed.color[3]},
                      packed.opacity};
    }
    Record preRender(const LayerSetup& setup = LayerSetup{}) {
        FrameSession session(*host, setup, 0);
        EXPECT_EQ(session.preRender(), 0);
        return recordOf(session);
    }
    std::vector<CallRecord> callsNamed(const std::string& name) {
        std::vector<CallRecord> found;
        for (const auto& r : host->calls().records())
            if (r.name == name) found.push_back(r);
        return found;
    }
};

TEST_F(PreRender, TheDefaultsAtFullResolution) {
    const Record r = preRender();
    EXPECT_EQ(r.shape, 1);
    EXPECT_EQ(r.point1[0], 0.0);
    EXPECT_EQ(r.point1[1], 540.0);
    EXPECT_EQ(r.point2[0], 1920.0);
    EXPECT_EQ(r.point2[1], 540.0);
    EXPECT_EQ(r.repeat, 1);
    for (float channel : r.color) EXPECT_EQ(channel, 1.0f);
    EXPECT_EQ(r.opacity, 1.0f);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, DownsamplingScalesEachAxisByItsOwnFactor) {
    LayerSetup half;
    half.downsampleX = half.downsampleY = PF_RationalScale{1, 2};
    Record r = preRender(half);
    EXPECT_EQ(r.point1[1], 270.0);
    EXPECT_EQ(r.point2[0], 960.0);
    EXPECT_EQ(r.point2[1], 270.0);
    setPoint(kParamPoint1, 100, 80);
    LayerSetup uneven;
    uneven.downsampleX = PF_RationalScale{1, 2};
    uneven.downsampleY = PF_RationalScale{1, 4};
    r = preRender(uneven);
    EXPECT_EQ(r.point1[0], 50.0);
    EXPECT_EQ(r.point1[1], 20.0);
    EXPECT_EQ(r.point2[0], 960.0);
    EXPECT_EQ(r.point2[1], 135.0);
}

TEST_F(PreRender, ValuesAreStoredAsTheParametersHoldThem) {
    setPoint(kParamPoint1, 10.5, 540);
    setPopup(kParamShape, kShapeRadial);
    setPopup(kParamRepeat, kRepeatPingpong);
    setColor(128, 0, 255, 1);
    setOpacity(-50);
    Record r = preRender();
    EXPECT_EQ(r.point1[0], 10.5);
    EXPECT_EQ(r.shape, 2);
    EXPECT_EQ(r.repeat, 3);
    EXPECT_EQ(r.color[0], 0.5019608f);
    EXPECT_EQ(r.color[1], 0.0f);
    EXPECT_EQ(r.color[2], 1.0f);
    EXPECT_EQ(r.color[3], static_cast<float>(1 / 255.0));
    EXPECT_EQ(r.opacity, -0.5f);
    setOpacity(150);
    EXPECT_EQ(preRender().opacity, 1.5f) << "no clamping in the record";
}

TEST_F(PreRender, ParametersAreReadAtTheFramesTime) {
    animateOpacity(0, 100, 2);
    FrameSession session(*host, LayerSetup{}, unitsFromSeconds(0.5));
    ASSERT_EQ(session.preRender(), 0);
    const Record r = recordOf(session);
    EXPECT_EQ(r.opacity, 0.25f);
    const auto checkouts = callsNamed("checkout_param");
    ASSERT_EQ(checkouts.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(checkouts[i].detail, std::to_string(i + 1) + " at 60000/120000 step " +
                                           std::to_string(host->inData().time_step));
    EXPECT_EQ(host->calls().countOf("checkin_param"), 6u);
}

// The host asks for less than the layer: the input is requested for that rectangle, which becomes the
// output's result, while the largest result the effect could give stays the whole layer.
TEST_F(PreRender, ARequestSmallerThanTheLayerIsAskedOfTheInputAndBecomesTheResult) {
    FrameSession session(*host, LayerSetup{}, 4000);
    const PF_LRect asked{100, 50, 700, 300};
    session.preRenderExtra().input->output_request.rect = asked;
    ASSERT_EQ(session.preRender(), 0);
    const auto& checkouts = session.state().checkouts;
    ASSERT_EQ(checkouts.size(), 1u);
    EXPECT_EQ(checkouts[0].index, 0);
    EXPECT_EQ(checkouts[0].checkoutId, 0);
    EXPECT_EQ(checkouts[0].request.preserve_rgb_of_zero_alpha, TRUE);
    EXPECT_EQ(corners(checkouts[0].request.rect), corners(asked));
    EXPECT_EQ(checkouts[0].request.channel_mask, session.request().channel_mask);
    EXPECT_EQ(checkouts[0].time, 4000);
    EXPECT_EQ(checkouts[0].timeScale, kTimeScale);
    EXPECT_EQ(session.preRenderExtra().input->output_request.preserve_rgb_of_zero_alpha, FALSE)
        << "the host's own request is not changed";
    const PF_PreRenderOutput& out = session.preRenderOutput();
    EXPECT_EQ(corners(out.result_rect), corners(asked)) << "the host's empty rectangles take the checkout's";
    EXPECT_EQ(corners(out.max_result_rect), corners(PF_LRect{0, 0, 1920, 1080}));
    EXPECT_EQ(out.solid, 0);
    EXPECT_EQ(out.flags, 0);
    EXPECT_NE(out.delete_pre_render_data_func, nullptr) << "the host supplies none: the effect frees its own data";
}

TEST_F(PreRender, AnEmptyCheckoutRectangleLeavesTheOutputRectangleAsItWas) {
    LayerSetup empty;
    empty.width = 0;
    empty.height = 0;
    FrameSession session(*host, empty, 0);
    session.preRenderOutput().result_rect = PF_LRect{1, 2, 5, 6};
    ASSERT_EQ(session.preRender(), 0);
    EXPECT_EQ(corners(session.preRenderOutput().result_rect), corners(PF_LRect{1, 2, 5, 6}));
}

TEST_F(PreRender, TheRecordTravelsInALockedSixtyByteHandleThatTheEffectsDeleteFunctionReleases) {
    const std::size_t before = host->liveHandles();
    {
        FrameSession session(*host, LayerSetup{}, 0);
        ASSERT_EQ(session.preRender(), 0);
        const PF_Handle handle = recordHandle(session);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(host->handleLockCount(handle), 1);
        EXPECT_NE(session.preRenderOutput().pre_render_data, nullptr);
        ASSERT_EQ(session.smartRender(), 0);
        EXPECT_FALSE(host->isHandleLive(handle)) << "deleted after smart render";
    }
    EXPECT_EQ(host->liveHandles(), before);
    Frame frame;
    ASSERT_EQ(renderFrame(*host, LayerSetup{}, 0, frame), 0);
    EXPECT_EQ(host->liveHandles(), before) << "no handle survives a frame";
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, AFailedCheckoutOfRepeatChecksTheFirstThreeBackInAndStops) {
    host->calls().addRule({"checkout_param", "", 4, false, {FaultMode::Error, 23}});
    FrameSession session(*host, LayerSetup{}, 0);
    EXPECT_EQ(session.preRender(), 23);
    EXPECT_EQ(host->calls().countOf("checkout_param"), 4u) << "5 and 6 are never checked out";
    EXPECT_EQ(host->calls().countOf("checkin_param"), 3u);
    EXPECT_EQ(host->calls().countOf("checkout_layer"), 0u);
    EXPECT_EQ(session.preRenderOutput().result_rect.right, 0) << "rectangles untouched";
    EXPECT_NE(session.preRenderOutput().pre_render_data, nullptr) << "the handle was already handed over";
    EXPECT_FALSE(session.holdsPreRenderData()) << "and the host deleted it at once";
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, AFailedInputCheckoutLeavesTheRectanglesAlone) {
    host->calls().addRule({"checkout_layer", "", 0, false, {FaultMode::Error, 8}});
    FrameSession session(*host, LayerSetup{}, 0);
    EXPECT_EQ(session.preRender(), 8);
    EXPECT_EQ(session.preRenderOutput().max_result_rect.right, 0);
    EXPECT_EQ(host->calls().countOf("checkin_param"), 6u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, NoHandleIsOutOfMemoryWithNothingStored) {
    host->calls().addRule({"host_new_handle", "", 0, false, {FaultMode::Null, 0}});
    FrameSession session(*host, LayerSetup{}, 0);
    EXPECT_EQ(session.preRender(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session.preRenderOutput().pre_render_data, nullptr);
    EXPECT_EQ(host->calls().countOf("checkout_param"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, AHandleThatWillNotLockIsDisposedOfByTheEffect) {
    const std::size_t before = host->liveHandles();
    host->calls().addRule({"host_lock_handle", "", 0, false, {FaultMode::Null, 0}});
    FrameSession session(*host, LayerSetup{}, 0);
    EXPECT_EQ(session.preRender(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session.preRenderOutput().pre_render_data, nullptr);
    EXPECT_EQ(host->liveHandles(), before);
    EXPECT_EQ(host->calls().countOf("host_dispose_handle"), 1u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, AZeroDownsampleDenominatorIsRefusedBeforeAnyHostCall) {
    for (auto factor : {std::make_pair(PF_RationalScale{1, 0}, PF_RationalScale{1, 1}),
                        std::make_pair(PF_RationalScale{1, 1}, PF_RationalScale{0, 0})}) {
        LayerSetup setup;
        setup.downsampleX = factor.first;
        setup.downsampleY = factor.second;
        FrameSession session(*host, setup, 0);
        host->calls().reset();
        EXPECT_EQ(session.preRender(), PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_EQ(host->calls().count(), 0u);
        EXPECT_EQ(session.preRenderOutput().pre_render_data, nullptr);
    }
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(PreRender, WithoutABasicSuiteItReturnsBadCallbackParam) {
    host->setBasicSuiteAvailable(false);
    FrameSession session(*host, LayerSetup{}, 0);
    EXPECT_EQ(session.preRender(), PF_Err_BAD_CALLBACK_PARAM);
    host->setBasicSuiteAvailable(true);
    EXPECT_TRUE(booksAreClean(*host));
}

} // namespace
