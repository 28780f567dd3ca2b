// What the host's copy, fill and composite do to pixels, on buffers the test owns.
#include "support/PixelBuffer.h"

#include "host/WorldPixels.h"

#include <gtest/gtest.h>

using namespace OrvaneHost;
using OrvaneTest::PixelBuffer;

namespace {

// A pixel that says where it came from.
PF_Pixel8 marker(A_long x, A_long y) {
    return PF_Pixel8{255, static_cast<A_u_char>(10 + x), static_cast<A_u_char>(20 + y), 7};
}

void markAll(PixelBuffer& buffer) {
    for (A_long y = 0; y < buffer.record().height; ++y)
        for (A_long x = 0; x < buffer.record().width; ++x) buffer.set(x, y, marker(x, y));
}

const PF_Pixel8 kClear8{0, 0, 0, 0};

TEST(HostCopy, MovesTheSourceRectangleToTheDestinationRectangle) {
    PixelBuffer source(4, 3, 0), destination(5, 4, 0);
    markAll(source);
    copyPixels(source.record(), PF_Rect{1, 0, 3, 2}, destination.record(), PF_Rect{2, 1, 4, 3}, 0);
    for (A_long y = 0; y < 4; ++y)
        for (A_long x = 0; x < 5; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 1 && y < 3;
            const PF_Pixel8 expected = inside ? marker(x - 1, y - 1) : kClear8;
            EXPECT_EQ(destination.at<PF_Pixel8>(x, y), expected) << x << "," << y;
        }
    EXPECT_TRUE(destination.paddingUntouched());
}

TEST(HostCopy, ClipsToBothWorldsAndTakesTheSmallerRectangle) {
    PixelBuffer source(4, 4, 0), destination(3, 3, 0);
    markAll(source);
    // Source rectangle hangs off the top-left corner; only its part inside the source moves.
    copyPixels(source.record(), PF_Rect{-1, -1, 2, 2}, destination.record(), PF_Rect{0, 0, 3, 3}, 0);
    EXPECT_EQ(destination.at<PF_Pixel8>(0, 0), kClear8);
    EXPECT_EQ(destination.at<PF_Pixel8>(1, 1), marker(0, 0));
    EXPECT_EQ(destination.at<PF_Pixel8>(2, 1), marker(1, 0));
    EXPECT_EQ(destination.at<PF_Pixel8>(2, 2), marker(1, 1));
    EXPECT_EQ(destination.at<PF_Pixel8>(0, 2), kClear8);

    PixelBuffer small(3, 3, 0);
    // A 4 by 4 source into a 2 by 1 rectangle: only the 2 by 1 block moves, nothing is scaled.
    copyPixels(source.record(), PF_Rect{0, 0, 4, 4}, small.record(), PF_Rect{1, 2, 3, 3}, 0);
    EXPECT_EQ(small.at<PF_Pixel8>(1, 2), marker(0, 0));
    EXPECT_EQ(small.at<PF_Pixel8>(2, 2), marker(1, 0));
    EXPECT_EQ(small.at<PF_Pixel8>(1, 1), kClear8);
    EXPECT_TRUE(small.paddingUntouched());
}

TEST(HostCopy, AnInvertedOrFarAwayRectangleCopiesNothing) {
    PixelBuffer source(2, 2, 0), destination(2, 2, 0);
    markAll(source);
    copyPixels(source.record(), PF_Rect{2, 0, 0, 2}, destination.record(), PF_Rect{0, 0, 2, 2}, 0);
    copyPixels(source.record(), PF_Rect{0, 0, 2, 2}, destination.record(), PF_Rect{2147483000, 0, 2147483647, 2},
               0);
    copyPixels(source.record(), PF_Rect{-2147483647 - 1, 0, 2147483647, 2}, destination.record(),
               PF_Rect{0, 0, 2, 2}, 0);
    for (A_long y = 0; y < 2; ++y)
        for (A_long x = 0; x < 2; ++x) EXPECT_EQ(destination.at<PF_Pixel8>(x, y), kClear8);
}

TEST(HostCopy, WithinOneWorldReadsTheOriginalPixels) {
    PixelBuffer row(5, 1, 0);
    markAll(row);
    copyPixels(row.record(), PF_Rect{0, 0, 4, 1}, row.record(), PF_Rect{1, 0, 5, 1}, 0);
    EXPECT_EQ(row.at<PF_Pixel8>(0, 0), marker(0, 0));
    for (A_long x = 1; x < 5; ++x) EXPECT_EQ(row.at<PF_Pixel8>(x, 0), marker(x - 1, 0));
}

TEST(HostFill, SetsTheRectangleClippedToTheWorld) {
    PixelBuffer world(4, 3, 0);
    const PF_Pixel8 colour{255, 1, 2, 3};
    fillPixels(world.record(), PF_Rect{1, 1, 3, 2}, colour, 0);
    fillPixels(world.record(), PF_Rect{-2, -2, 1, 1}, colour, 0);
    for (A_long y = 0; y < 3; ++y)
        for (A_long x = 0; x < 4; ++x) {
            const bool inside = (y == 1 && (x == 1 || x == 2)) || (x == 0 && y == 0);
            EXPECT_EQ(world.at<PF_Pixel8>(x, y), inside ? colour : kClear8) << x << "," << y;
        }
    EXPECT_TRUE(world.paddingUntouched());
}

TEST(HostFill, ScalesTheEightBitColourToTheDepth) {
    PixelBuffer deep(1, 1, 1), flt(1, 1, 2);
    const PF_Pixel8 colour{255, 128, 0, 1};
    fillPixels(deep.record(), PF_Rect{0, 0, 1, 1}, colour, 1);
    // 128 x 32768 / 255 = 16448.25 and 1 x 32768 / 255 = 128.5 round to 16448 and 129.
    EXPECT_EQ(deep.at<PF_Pixel16>(0, 0), (PF_Pixel16{32768, 16448, 0, 129}));
    fillPixels(flt.record(), PF_Rect{0, 0, 1, 1}, colour, 2);
    EXPECT_EQ(flt.at<PF_PixelFloat>(0, 0), (PF_PixelFloat{1.0f, 128 / 255.0f, 0.0f, 1 / 255.0f}));
}

TEST(HostComposite, OpacityMixesTheColours) {
    PixelBuffer source(1, 1, 0), destination(1, 1, 0);
    source.set(0, 0, PF_Pixel8{255, 255, 0, 0});
    destination.set(0, 0, PF_Pixel8{255, 0, 0, 255});
    // Coverage 128/255: red 128, blue 255 - 128 = 127, alpha stays full.
    compositeNormalStraight(source.record(), PF_Rect{0, 0, 1, 1}, destination.record(), 0, 0, 128 / 255.0, false, 0);
    EXPECT_EQ(destination.at<PF_Pixel8>(0, 0), (PF_Pixel8{255, 128, 0, 127}));
}

TEST(HostComposite, StraightAlphaKeepsColoursUnscaled) {
    PixelBuffer source(3, 1, 1), destination(3, 1, 1);
    source.setAll(PF_Pixel16{16384, 32768, 0, 0}); // half-covered red
    destination.set(0, 0, PF_Pixel16{0, 0, 0, 0});
    destination.set(1, 0, PF_Pixel16{32768, 0, 0, 32768});
    destination.set(2, 0, PF_Pixel16{16384, 0, 0, 32768});
    compositeNormalStraight(source.record(), PF_Rect{0, 0, 3, 1}, destination.record(), 0, 0, 1.0, false, 1);
    // Over nothing: half alpha, red at full strength (a premultiplying host would give 16384).
    EXPECT_EQ(destination.at<PF_Pixel16>(0, 0), (PF_Pixel16{16384, 32768, 0, 0}));
    // Over opaque blue: opaque, half and half.
    EXPECT_EQ(destination.at<PF_Pixel16>(1, 0), (PF_Pixel16{32768, 16384, 0, 16384}));
    // Over half blue: alpha 0.75, red 0.5 / 0.75 = 2/3 (21845.33), blue 0.25 / 0.75 = 1/3 (10922.67).
    EXPECT_EQ(destination.at<PF_Pixel16>(2, 0), (PF_Pixel16{24576, 21845, 0, 10923}));
}

TEST(HostComposite, RgbOnlyKeepsTheDestinationsAlpha) {
    PixelBuffer source(1, 1, 1), destination(1, 1, 1);
    source.set(0, 0, PF_Pixel16{32768, 32768, 0, 0});
    destination.set(0, 0, PF_Pixel16{8192, 0, 0, 32768});
    compositeNormalStraight(source.record(), PF_Rect{0, 0, 1, 1}, destination.record(), 0, 0, 0.5, true, 1);
    EXPECT_EQ(destination.at<PF_Pixel16>(0, 0), (PF_Pixel16{8192, 16384, 0, 16384}));
}

TEST(HostComposite, NothingOverNothingStaysClearAndFloatKeepsItsRange) {
    PixelBuffer source(2, 1, 2), destination(2, 1, 2);
    source.set(1, 0, PF_PixelFloat{1.0f, 1.5f, -0.25f, 0.5f});
    destination.set(1, 0, PF_PixelFloat{1.0f, 0.0f, 0.0f, 0.0f});
    compositeNormalStraight(source.record(), PF_Rect{0, 0, 2, 1}, destination.record(), 0, 0, 1.0, false, 2);
    EXPECT_EQ(destination.at<PF_PixelFloat>(0, 0), (PF_PixelFloat{0, 0, 0, 0}));
    EXPECT_EQ(destination.at<PF_PixelFloat>(1, 0), (PF_PixelFloat{1.0f, 1.5f, -0.25f, 0.5f}));
}

TEST(HostComposite, LandsAtTheDestinationPointClipped) {
    PixelBuffer source(3, 1, 0), destination(2, 2, 0);
    markAll(source);
    compositeNormalStraight(source.record(), PF_Rect{0, 0, 3, 1}, destination.record(), -1, 1, 1.0, false, 0);
    EXPECT_EQ(destination.at<PF_Pixel8>(0, 1), marker(1, 0));
    EXPECT_EQ(destination.at<PF_Pixel8>(1, 1), marker(2, 0));
    EXPECT_EQ(destination.at<PF_Pixel8>(0, 0), kClear8);
    EXPECT_EQ(destination.at<PF_Pixel8>(1, 0), kClear8);
    EXPECT_TRUE(destination.paddingUntouched());
}

} // namespace
