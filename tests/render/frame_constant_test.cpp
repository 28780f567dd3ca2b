// Whole 1920 x 1080 frames without keyframes: every pixel is the constant colour with the constant opacity
// as its alpha, at each depth.
#include "RenderFixture.h"

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

using ConstantFrame = RenderFixture;

TEST_F(ConstantFrame, TheDefaultsDrawOpaqueWhiteAtEveryDepth) {
    const Frame f8 = renderAt(8);
    ASSERT_EQ(f8.width, 1920);
    ASSERT_EQ(f8.height, 1080);
    EXPECT_TRUE(is8(f8, 0, 0, 255, 255, 255, 255));
    EXPECT_TRUE(uniform<PF_Pixel8>(f8));
    const Frame f16 = renderAt(16);
    EXPECT_TRUE(is16(f16, 1919, 1079, 32768, 32768, 32768, 32768));
    EXPECT_TRUE(uniform<PF_Pixel16>(f16));
    const Frame f32 = renderAt(32);
    EXPECT_TRUE(isFloat(f32, 960, 540, 1, 1, 1, 1));
    EXPECT_TRUE(uniform<PF_PixelFloat>(f32));
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(ConstantFrame, OpacityFiftyOverWhiteAtAllThreeDepths) {
    setOpacity(50);
    EXPECT_TRUE(is8(renderAt(8), 100, 200, 128, 255, 255, 255)) << "0.5 * 255 + 0.5 = 128";
    EXPECT_TRUE(is16(renderAt(16), 100, 200, 16384, 32768, 32768, 32768));
    EXPECT_TRUE(isFloat(renderAt(32), 100, 200, 0.5f, 1, 1, 1));
}

TEST_F(ConstantFrame, OpacityOutsideZeroToHundredEndsAsFullOrNoAlpha) {
    setOpacity(150);
    EXPECT_TRUE(is8(renderAt(8), 3, 4, 255, 255, 255, 255));
    EXPECT_TRUE(isFloat(renderAt(32), 3, 4, 1, 1, 1, 1));
    setOpacity(-20);
    EXPECT_TRUE(is16(renderAt(16), 3, 4, 0, 32768, 32768, 32768));
    EXPECT_TRUE(isFloat(renderAt(32), 3, 4, 0, 1, 1, 1));
}

TEST_F(ConstantFrame, TheColoursAlphaNeverReachesTheOutput) {
    setColor(0, 255, 0, 0);
    EXPECT_TRUE(is8(renderAt(8), 10, 10, 255, 255, 0, 0));
}

TEST_F(ConstantFrame, ByteColoursComeOutExactlyAtEightBitsAndScaledToSixteen) {
    setColor(255, 128, 64, 1);
    EXPECT_TRUE(is8(renderAt(8), 7, 7, 255, 128, 64, 1));
    // 128 / 255 * 32768 + 0.5 = 16448.75, 64 / 255 * 32768 + 0.5 = 8224.63, 1 / 255 * 32768 + 0.5 = 129.0
    EXPECT_TRUE(is16(renderAt(16), 7, 7, 32768, 16448, 8224, 129));
    const Frame f32 = renderAt(32);
    EXPECT_TRUE(isFloat(f32, 7, 7, 1, static_cast<float>(128 / 255.0), static_cast<float>(64 / 255.0),
                        static_cast<float>(1 / 255.0)));
}

TEST_F(ConstantFrame, NoStreamValueIsRequestedWithoutKeyframes) {
    key(kParamColor, 0.5, StreamValue{1, 0, 0, 0}); // a single keyframe is still a constant
    FrameReport report;
    LayerSetup setup;
    render(setup, 0, &report);
    EXPECT_EQ(report.streamValueRequests, 0u);
    EXPECT_TRUE(report.streamValueRequestsByParam.empty());
    EXPECT_EQ(report.checkedOut.size(), 6u) << "pre-render still reads every control";
}

TEST_F(ConstantFrame, TheInputLayersContentNeverShows) {
    setOpacity(30);
    animate(kParamColor, {1, 0.2, 0.4, 0.6}, {1, 0.9, 0.1, 0.3});
    for (int depth : {8, 16, 32}) {
        SCOPED_TRACE(depth);
        LayerSetup setup;
        setup.width = 64;
        setup.height = 16;
        setup.depth = depth;
        std::vector<unsigned char> outputs[2];
        for (unsigned seed : {1u, 2u}) {
            FrameSession session(*host, setup, 0);
            fillPattern(session.layer(), seed * 7919u);
            ASSERT_EQ(session.preRender(), 0);
            ASSERT_EQ(session.smartRender(), 0);
            Frame frame;
            session.copyOutput(frame);
            outputs[seed - 1] = frame.bytes;
        }
        EXPECT_EQ(outputs[0], outputs[1]);
    }
    EXPECT_TRUE(booksAreClean(*host));
}

} // namespace
