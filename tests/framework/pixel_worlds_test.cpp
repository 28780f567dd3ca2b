// World over a host buffer, the smart-render checkouts, the pixel-depth query and the conversions.
#include "support/FrameworkFixture.h"

#include "framework/PixelConvert.h"
#include "framework/PixelDepth.h"
#include "framework/PixelFormat.h"
#include "framework/SmartWorlds.h"
#include "host/FrameSession.h"
#include "host/SmartRenderCallbacks.h"

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

TEST(WorldTest, AWorldOverNothingReportsZeros) {
    Orvane::World world(nullptr);
    EXPECT_EQ(world.get(), nullptr);
    EXPECT_EQ(world.width(), 0);
    EXPECT_EQ(world.height(), 0);
    const PF_Rect r = world.rect();
    EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);
    EXPECT_EQ(world.origin(), std::make_pair(A_long(0), A_long(0)));
}

TEST(WorldTest, AWorldReflectsItsBuffer) {
    auto buffer = makeWorldBuffer(7, 3, 16, 0, true);
    buffer->world.origin_x = -20;
    buffer->world.origin_y = 4;
    Orvane::World world(&buffer->world);
    EXPECT_EQ(world.width(), 7);
    EXPECT_EQ(world.height(), 3);
    EXPECT_EQ(world.rect().right, 7);
    EXPECT_EQ(world.rect().bottom, 3);
    EXPECT_EQ(world.origin(), std::make_pair(A_long(-20), A_long(4)));
}

TEST(PixelConvertTest, BoundariesOfBothConversions) {
    const PF_Pixel8 p8 = Orvane::toPixel8(PF_PixelFloat{1.0f, 0.5f, -0.5f, 1.0001f});
    EXPECT_EQ(p8.alpha, 255);
    EXPECT_EQ(p8.red, 128);
    EXPECT_EQ(p8.green, 0);
    EXPECT_EQ(p8.blue, 255);
    const PF_Pixel16 p16 = Orvane::toPixel16(PF_PixelFloat{1.0f, 0.5f, -0.5f, 3.0f});
    EXPECT_EQ(p16.alpha, 32768);
    EXPECT_EQ(p16.red, 16384);
    EXPECT_EQ(p16.green, 0);
    EXPECT_EQ(p16.blue, 32768);
}

// A frame in its smart render, with the framework's checkouts called directly under the frame's reference.
struct SmartWorldsTest : FrameworkFixture {
    std::unique_ptr<FrameSession> frame;
    PF_SmartRenderExtra extra{nullptr, smartRenderCallbacks()};

    void enterSmartRender() {
        LayerSetup small;
        small.width = 4;
        small.height = 4;
        frame = std::make_unique<FrameSession>(host, small, 0);
        frame->state().phase = RenderPhase::SmartRender;
        frame->state().checkouts.push_back(LayerCheckout{});
        in.effect_ref = frame->inData().effect_ref;
    }
};

TEST_F(SmartWorldsTest, TheInputIsTheLayerUnderCheckoutIdZeroAndTheOutputTheHostsBuffer) {
    enterSmartRender();
    std::shared_ptr<Orvane::World> input, output;
    EXPECT_EQ(Orvane::checkoutInputWorld(&in, &extra, input), 0);
    EXPECT_EQ(Orvane::checkoutOutputWorld(&in, &extra, output), 0);
    EXPECT_EQ(input->get(), &frame->layer().world);
    EXPECT_EQ(output->get(), &frame->output().world);
    const auto records = host.calls().records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].detail, "id 0");
    EXPECT_EQ(countOf("checkin_layer_pixels"), 0u);
}

TEST_F(SmartWorldsTest, AFailedCheckoutStillReplacesTheWorldWithOneOverNothing) {
    enterSmartRender();
    host.calls().addRule({"checkout_layer_pixels", "", 0, false, {FaultMode::Error, 9}});
    auto stale = std::make_shared<Orvane::World>(&frame->layer().world);
    std::shared_ptr<Orvane::World> input = stale;
    EXPECT_EQ(Orvane::checkoutInputWorld(&in, &extra, input), 9);
    ASSERT_NE(input, nullptr);
    EXPECT_NE(input, stale);
    EXPECT_EQ(input->get(), nullptr);
}

struct PixelDepthTest : FrameworkFixture {};

TEST_F(PixelDepthTest, TheThreeFormatsGiveTheThreeDepthsThroughASuiteHeldForTheQuery) {
    const std::pair<int, int> cases[] = {{8, Orvane::Depth8}, {16, Orvane::Depth16}, {32, Orvane::Depth32}};
    for (const auto& [bits, code] : cases) {
        WorldBuffer& layer = setLayerBuffer(host, 2, 2, bits);
        int depth = -1;
        EXPECT_EQ(Orvane::getPixelDepth(&in, &out, &layer.world, depth), 0);
        EXPECT_EQ(depth, code);
    }
    EXPECT_EQ(host.acquisitions("PF World Suite", 2), 3u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(PixelDepthTest, AnUnknownFormatLeavesTheDepthAsTheCallerSetIt) {
    WorldBuffer& layer = setLayerBuffer(host, 2, 2, 8);
    hostWorlds(host).reportedFormat = 0x41424344;
    int depth = 7;
    EXPECT_EQ(Orvane::getPixelDepth(&in, &out, &layer.world, depth), 0);
    EXPECT_EQ(depth, 7);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(PixelDepthTest, ARefusedSuiteReturnsBadCallbackParamWithTheLoadMessage) {
    WorldBuffer& layer = setLayerBuffer(host, 2, 2, 8);
    host.calls().addRule({"AcquireSuite", "PF World Suite 2", 0, false, {FaultMode::Null, 0}});
    int depth = 1;
    EXPECT_EQ(Orvane::getPixelDepth(&in, &out, &layer.world, depth), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(depth, 1);
    EXPECT_TRUE(out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_STREQ(out.return_msg, "Couldn't load suite.");
    EXPECT_EQ(countOf("PF_GetPixelFormat"), 0u);
    EXPECT_EQ(host.releases("PF World Suite", 2), 0u) << "a suite never handed out is not given back";
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(PixelDepthTest, AFailedQueryIsReturnedAndTheSuiteStillReleased) {
    WorldBuffer& layer = setLayerBuffer(host, 2, 2, 16);
    host.calls().addRule({"PF_GetPixelFormat", "", 0, false, {FaultMode::Error, 12}});
    int depth = -1;
    EXPECT_EQ(Orvane::getPixelDepth(&in, &out, &layer.world, depth), 12);
    EXPECT_EQ(depth, -1);
    EXPECT_EQ(host.releases("PF World Suite", 2), 1u);
    EXPECT_TRUE(booksAreClean(host));
}

} // namespace
