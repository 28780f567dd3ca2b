// Whole 1920 x 1080 frames with keyframed "Color" and "Opacity": both shapes, every repeat mode, every depth.
// Expected pixels are worked out from the keyframes: a sample's time is first + (span * i) / (N - 1)
// truncated, its value the keyframes' linear interpolation, and a pixel's table place f = (N - 1) t / L.
#include "RenderFixture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

using RampFrame = RenderFixture;

// What a frame's tables cost: the stream values requested of each keyframed parameter (one per sample).
using Requests = std::map<PF_ParamIndex, std::size_t>;

TEST_F(RampFrame, LinearNoneLaysTheColourAnimationAlongTheDefaultPointsAtEightBits) {
    animate(kParamColor, kRed, kBlue);
    FrameReport report;
    const Frame f = renderAt(8, &report);
    // L = 1920, N = 1920. x = 960: f = 1919 * 960 / 1920 = 959.5; samples 959 and 960 sit at times
    // 59968 and 60031 of 120000, red 0.500267 and 0.499742, whose average is 0.500004: byte 128.
    EXPECT_TRUE(is8(f, 0, 0, 255, 255, 0, 0));
    EXPECT_TRUE(is8(f, 480, 100, 255, 191, 0, 64));
    EXPECT_TRUE(is8(f, 960, 540, 255, 128, 0, 127));
    EXPECT_TRUE(is8(f, 1919, 1079, 255, 0, 0, 255));
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamColor, 1920}}));
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(RampFrame, TheRampIsTheSameWhateverTimeIsRendered) {
    animate(kParamColor, kRed, kBlue);
    const Frame atStart = renderAt(8);
    const Frame later = render(LayerSetup{}, unitsFromSeconds(1.5));
    EXPECT_EQ(atStart.bytes, later.bytes);
}

TEST_F(RampFrame, RadialLoopSamplesOpacityAroundPointOneAtSixteenBits) {
    setPopup(kParamShape, kShapeRadial);
    setPopup(kParamRepeat, kRepeatLoop);
    setPoint(kParamPoint1, 960, 540);
    setPoint(kParamPoint2, 1260, 540);
    setColor(255, 128, 64, 0);
    animateOpacity(0, 100, 2);
    FrameReport report;
    const Frame f = renderAt(16, &report);
    // L = 300, N = 300, closed to 301 entries. Distance 150: f = 150, sample 150 at time
    // 240000 * 150 / 299 = 120401, opacity 50.167 %: 0.501671 * 32768 + 0.5 = 16439.
    EXPECT_TRUE(is16(f, 960, 540, 0, 16448, 8224, 0));
    EXPECT_TRUE(is16(f, 1110, 540, 16439, 16448, 8224, 0));
    EXPECT_TRUE(is16(f, 960, 840, 0, 16448, 8224, 0)) << "distance L loops to 0";
    EXPECT_TRUE(is16(f, 1259, 540, 32768, 16448, 8224, 0)) << "sample 299 is the last keyframe";
    EXPECT_TRUE(is16(f, 1000, 570, 5479, 16448, 8224, 0)) << "distance 50";
    EXPECT_TRUE(is16(f, 0, 0, 22078, 16448, 8224, 0)) << "distance 1101.5, looped to 201.5";
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamOpacity, 300}}));
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(RampFrame, LinearPingpongWithBothTablesInFloat) {
    setPopup(kParamRepeat, kRepeatPingpong);
    setPoint(kParamPoint1, 100, 540);
    setPoint(kParamPoint2, 400, 540);
    animate(kParamColor, kGreen, kWhite);
    animateOpacity(100, 0);
    FrameReport report;
    const Frame f = renderAt(32, &report);
    const float half = floatFromBits(0x3f000046); // 0.5000042: samples 149 and 150 blended at f = 149.5
    const float other = floatFromBits(0x3effff74);  // 0.4999958
    EXPECT_TRUE(isFloat(f, 100, 9, 1, 0, 1, 0)) << "Point 1";
    EXPECT_TRUE(isFloat(f, 250, 9, half, other, 1, other)) << "t = 150";
    EXPECT_TRUE(isFloat(f, 550, 9, half, other, 1, other)) << "s = 450 runs back to 150";
    EXPECT_TRUE(isFloat(f, 700, 9, 1, 0, 1, 0)) << "s = 2 L starts over";
    EXPECT_TRUE(isFloat(f, 50, 9, floatFromBits(0x3f5555ca), floatFromBits(0x3e2aa8d9), 1, floatFromBits(0x3e2aa8d9)))
        << "s = -50 mirrors to 50";
    EXPECT_TRUE(isFloat(f, 399, 9, floatFromBits(0x3b5ad0b7), floatFromBits(0x3f7f252f), 1, floatFromBits(0x3f7f252f)));
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamColor, 300}, {kParamOpacity, 300}}));
}

TEST_F(RampFrame, RadialNoneWithThreeColourKeyframesHoldsTheLastBeyondPointTwo) {
    setPopup(kParamShape, kShapeRadial);
    setPoint(kParamPoint1, 0, 0);
    setPoint(kParamPoint2, 100, 0);
    key(kParamColor, 0, kRed);
    key(kParamColor, 0.5, kGreen);
    key(kParamColor, 1, kBlue);
    const Frame f = renderAt(8);
    EXPECT_TRUE(is8(f, 0, 0, 255, 255, 0, 0));
    EXPECT_TRUE(is8(f, 10, 0, 255, 204, 51, 0));
    EXPECT_TRUE(is8(f, 50, 0, 255, 1, 252, 1)) << "t = 50: samples 49 and 50 either side of the middle key";
    EXPECT_TRUE(is8(f, 30, 40, 255, 1, 252, 1)) << "the same distance in another direction";
    EXPECT_TRUE(is8(f, 60, 80, 255, 0, 0, 255)) << "on Point 2's circle";
    EXPECT_TRUE(is8(f, 1919, 1079, 255, 0, 0, 255));
}

TEST_F(RampFrame, LinearLoopClosesBackToTheFirstColourAtSixteenBits) {
    setPopup(kParamRepeat, kRepeatLoop);
    setPoint(kParamPoint1, 0, 540);
    setPoint(kParamPoint2, 1000, 540);
    animate(kParamColor, kRed, kBlue);
    FrameReport report;
    const Frame f = renderAt(16, &report);
    EXPECT_TRUE(is16(f, 0, 0, 32768, 32768, 0, 0));
    EXPECT_TRUE(is16(f, 250, 0, 32768, 24568, 0, 8200));
    EXPECT_TRUE(is16(f, 999, 0, 32768, 0, 0, 32768)) << "f = 1000 * 999 / 1000 = 999: the last sample";
    EXPECT_TRUE(is16(f, 1000, 0, 32768, 32768, 0, 0));
    EXPECT_TRUE(is16(f, 1500, 0, 32768, 16368, 0, 16400));
    EXPECT_TRUE(is16(f, 1919, 0, 32768, 2624, 0, 30144)) << "t = 919 in the second period";
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamColor, 1000}}));
}

TEST_F(RampFrame, HalfResolutionScalesThePointsAndTheBuffers) {
    animate(kParamColor, kRed, kBlue);
    LayerSetup setup;
    setup.downsampleX = PF_RationalScale{1, 2};
    setup.downsampleY = PF_RationalScale{1, 2};
    FrameReport report;
    const Frame f = render(setup, 0, &report);
    ASSERT_EQ(f.width, 960);
    ASSERT_EQ(f.height, 540);
    EXPECT_TRUE(is8(f, 0, 0, 255, 255, 0, 0));
    EXPECT_TRUE(is8(f, 480, 270, 255, 128, 0, 127));
    EXPECT_TRUE(is8(f, 959, 539, 255, 0, 0, 255));
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamColor, 960}}));
}

TEST_F(RampFrame, OddDownsamplingRoundsTheBuffersUp) {
    LayerSetup setup;
    setup.width = 1001;
    setup.height = 11;
    setup.downsampleX = PF_RationalScale{1, 2};
    setup.downsampleY = PF_RationalScale{1, 4};
    const Frame f = render(setup);
    EXPECT_EQ(f.width, 501);
    EXPECT_EQ(f.height, 3);
}

TEST_F(RampFrame, BothKeyframedOverAHundredPixelsRequestAHundredSamplesEach) {
    setPoint(kParamPoint1, 10, 10);
    setPoint(kParamPoint2, 110, 10);
    animate(kParamColor, kRed, kBlue, 2);
    animateOpacity(0, 100, 2);
    FrameReport report;
    renderAt(8, &report);
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamColor, 100}, {kParamOpacity, 100}}));
}

TEST_F(RampFrame, OpacityKeyframedBeyondItsRangeIsHeldInTheTable) {
    setPoint(kParamPoint1, 0, 0);
    setPoint(kParamPoint2, 100, 0);
    animateOpacity(150, -20);
    const Frame f = renderAt(32);
    EXPECT_TRUE(isFloat(f, 0, 0, 1, 1, 1, 1)) << "the first entry is 1";
    EXPECT_TRUE(isFloat(f, 100, 0, 0, 1, 1, 1)) << "the last entry is 0";
    // Samples 29 and 30 are 100.2 % and 98.5 %, 87 and 88 are 0.6 % and -1.1 %: held to 1 and 0, the pixels
    // blending them (f = 29.7 and 87.12) are these, whereas the unheld samples give 0.990 and 0.0040.
    EXPECT_TRUE(isFloat(f, 30, 0, floatFromBits(0x3f7d4956), 1, 1, 1)) << "0.3 x 1 + 0.7 x 0.98486";
    EXPECT_TRUE(isFloat(f, 88, 0, floatFromBits(0x3baefc26), 1, 1, 1)) << "0.88 x 0.00607 + 0.12 x 0";
}

TEST_F(RampFrame, TheRampStaysWithTheLayerWhenTheBufferHasAnOrigin) {
    animate(kParamColor, kRed, kBlue);
    FrameSession session(*host, LayerSetup{}, 0);
    session.layer().world.origin_x = -20;
    ASSERT_EQ(session.preRender(), 0);
    ASSERT_EQ(session.smartRender(), 0);
    Frame f;
    session.copyOutput(f);
    EXPECT_TRUE(is8(f, 980, 0, 255, 128, 0, 127)) << "column 980 lies 960 pixels from Point 1";
    EXPECT_TRUE(is8(f, 20, 0, 255, 255, 0, 0));
    EXPECT_TRUE(is8(f, 5, 0, 255, 255, 0, 0)) << "behind Point 1";
}

TEST_F(RampFrame, ShapeAndRepeatValuesOutsideTheirChoicesDrawLinearNone) {
    animate(kParamColor, kRed, kBlue);
    const Frame expected = renderAt(8);
    setPopup(kParamShape, 9);
    setPopup(kParamRepeat, 0);
    FrameReport report;
    const Frame damaged = renderAt(8, &report);
    EXPECT_EQ(damaged.bytes, expected.bytes);
    EXPECT_EQ(report.streamValueRequestsByParam, (Requests{{kParamColor, 1920}}));
}

// ---- the sides of keyframes shape the stops -------------------------------------------------------------

// A pixel's channels alpha, red, green, blue in 0..1 at any depth.
std::array<double, 4> channelsAt(const Frame& f, int x, int y) {
    if (f.depth == 8) {
        const auto p = pixelOf<PF_Pixel8>(f, x, y);
        return {p.alpha / 255.0, p.red / 255.0, p.green / 255.0, p.blue / 255.0};
    }
    if (f.depth == 16) {
        const auto p = pixelOf<PF_Pixel16>(f, x, y);
        return {p.alpha / 32768.0, p.red / 32768.0, p.green / 32768.0, p.blue / 32768.0};
    }
    const auto p = pixelOf<PF_PixelFloat>(f, x, y);
    return {p.alpha, p.red, p.green, p.blue};
}

// A 400 x 4 layer with a 300-pixel linear ramp from x = 50: 300 samples, one every 300 / 299 pixels.
constexpr int kRampStart = 50, kRampLength = 300;

struct KeyframeSides : RenderFixture {
    Frame rampAt(int depth) {
        setPoint(kParamPoint1, kRampStart, 2);
        setPoint(kParamPoint2, kRampStart + kRampLength, 2);
        LayerSetup setup;
        setup.width = 400;
        setup.height = 4;
        setup.depth = depth;
        return render(setup);
    }
    void keyColors(const KeyframeSide& side) {
        std::vector<Keyframe> keys = {{timeAt(0), kRed}, {timeAt(1), kGreen}, {timeAt(2), kBlue}};
        for (Keyframe& k : keys) k.in = k.out = side;
        apply(Scene().keyframes(kParamColor, keys));
    }
};

// Held keyframes make hard stops: every pixel along the ramp is one of the held colours, but for those
// within a sample's spacing of a step (half way, where green takes over, and at Point 2 for blue), at every
// depth. The same keyframes linear blend all the way.
TEST_F(KeyframeSides, HeldColourKeyframesLeaveNoBlendedPixelButAtTheSteps) {
    const auto isHeldColour = [](const std::array<double, 4>& c) {
        for (const StreamValue& held : {kRed, kGreen, kBlue})
            if (c[0] == held[0] && c[1] == held[1] && c[2] == held[2] && c[3] == held[3]) return true;
        return false;
    };
    for (int depth : {8, 16, 32}) {
        SCOPED_TRACE(depth);
        keyColors(KeyframeSide{Interpolation::Hold, {}});
        const Frame held = rampAt(depth);
        std::set<int> seen; // 0 red, 1 green, 2 blue
        for (int x = 0; x < held.width; ++x) {
            const auto c = channelsAt(held, x, 2);
            if (isHeldColour(c)) {
                seen.insert(c[1] == 1 ? 0 : (c[2] == 1 ? 1 : 2));
                continue;
            }
            const double distance = x - kRampStart;
            const bool atAStep =
                std::fabs(distance - kRampLength / 2.0) <= 1.5 || std::fabs(distance - kRampLength) <= 1.5;
            EXPECT_TRUE(atAStep) << "x = " << x << " is blended " << c[1] << " " << c[2] << " " << c[3];
        }
        EXPECT_EQ(seen.size(), 3u) << "each held colour fills its stretch";
        keyColors(KeyframeSide{});
        const Frame blended = rampAt(depth);
        int mixed = 0;
        for (int x = 0; x < blended.width; ++x) mixed += isHeldColour(channelsAt(blended, x, 2)) ? 0 : 1;
        EXPECT_GT(mixed, kRampLength - 10) << "linear keyframes blend between every two samples";
    }
}

// Eased stops: opacity from 0 % to 100 % with the easy ease of exactly a third rises along the ramp as
// 3u^2 - 2u^3 of the distance u from Point 1 (to within the samples' spacing: 5e-5), where linear keyframes
// give u and differ from it by up to 0.096.
TEST_F(KeyframeSides, EasedOpacityStopsRiseAsTheEasyEaseClosedForm) {
    const KeyframeSide ease{Interpolation::Bezier, Ease{0, 1.0 / 3.0}};
    Keyframe first{timeAt(0), sliderValue(0)}, last{timeAt(1), sliderValue(100)};
    first.out = ease;
    last.in = ease;
    apply(Scene().keyframes(kParamOpacity, {first, last}));
    const Frame eased = rampAt(32);
    double worstLinear = 0;
    for (int x = kRampStart; x <= kRampStart + kRampLength; ++x) {
        const double u = double(x - kRampStart) / kRampLength;
        EXPECT_NEAR(channelsAt(eased, x, 2)[0], 3 * u * u - 2 * u * u * u, 5e-5) << "u = " << u;
        worstLinear = std::max(worstLinear, std::fabs(u - (3 * u * u - 2 * u * u * u)));
    }
    EXPECT_GT(worstLinear, 0.09);
}

} // namespace
