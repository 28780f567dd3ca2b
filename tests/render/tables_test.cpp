// Sample counts and sample times of the keyframe tables, and the pre-render record's rectangle union.
#include "render/KeyframeTables.h"
#include "render/RectUnion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Orvane;

namespace {

TEST(SampleCountTest, OneSamplePerStartedPixelAndAtLeastTwo) {
    EXPECT_EQ(sampleCount(std::ceil(2.5)), 3);
    EXPECT_EQ(sampleCount(std::ceil(3.0)), 3);
    EXPECT_EQ(sampleCount(std::ceil(3.0001)), 4);
    EXPECT_EQ(sampleCount(std::ceil(1.2)), 2);
    EXPECT_EQ(sampleCount(std::ceil(1e-6)), 2) << "a ramp shorter than two pixels still has both ends";
    EXPECT_EQ(sampleCount(1920.0), 1920);
}

TEST(SampleCountTest, HugeOrMeaninglessLengthsStayWithinTheCap) {
    EXPECT_EQ(sampleCount(1e12), kMaxSampleCount);
    EXPECT_EQ(sampleCount(4294967296.0), kMaxSampleCount) << "beyond 32 bits: never converted";
    EXPECT_EQ(sampleCount(std::numeric_limits<double>::infinity()), kMaxSampleCount);
    EXPECT_EQ(sampleCount(std::numeric_limits<double>::quiet_NaN()), 2);
    EXPECT_EQ(sampleCount(-5.0), 2);
    EXPECT_EQ(sampleCount(double(kMaxSampleCount) - 1), kMaxSampleCount - 1);
}

TEST(SampleTimeTest, EvenSpacingTruncatesTowardZero) {
    const A_Time first{0, 120000}, last{10, 120000};
    const A_long expected[] = {0, 3, 6, 10};
    for (A_long i = 0; i < 4; ++i) EXPECT_EQ(sampleTime(first, last, i, 4).value, expected[i]) << i;
    EXPECT_EQ(sampleTime(first, last, 1, 3).value, 5);
    EXPECT_EQ(sampleTime(first, last, 2, 3).value, 10);
    EXPECT_EQ(sampleTime(first, last, 1, 3).scale, 120000u);
}

TEST(SampleTimeTest, ALargeSpanStaysExactPastThirtyTwoBitProducts) {
    const A_Time first{0, 120000}, last{300000, 120000};
    EXPECT_EQ(sampleTime(first, last, 9998, 10000).value, 299969) << "300000 * 9998 = 2999400000 exceeds 2^31";
    EXPECT_EQ(sampleTime(first, last, 9999, 10000).value, 300000);
    EXPECT_EQ(sampleTime(first, last, 5000, 10000).value, 150015);
    EXPECT_EQ(sampleTime(first, last, 3333, 10000).value, 100000);
}

TEST(SampleTimeTest, SpansAcrossZeroAndTheWholeRangeDoNotOverflow) {
    const A_Time first{-120000, 120000}, last{120000, 120000};
    EXPECT_EQ(sampleTime(first, last, 1, 3).value, 0);
    const A_Time earliest{std::numeric_limits<A_long>::min(), 1}, latest{std::numeric_limits<A_long>::max(), 1};
    EXPECT_EQ(sampleTime(earliest, latest, 1, 2).value, std::numeric_limits<A_long>::max());
    EXPECT_EQ(sampleTime(earliest, latest, 0, 2).value, std::numeric_limits<A_long>::min());
}

TEST(LoopClosureTest, ANonEmptyTableEndsWithItsFirstEntry) {
    OpacityTable two{0.25f, 0.75f};
    closeLoop(two);
    EXPECT_EQ(two, (OpacityTable{0.25f, 0.75f, 0.25f}));
    OpacityTable none;
    closeLoop(none);
    EXPECT_TRUE(none.empty());
}

bool sameRect(const PF_LRect& a, const PF_LRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RectUnionTest, AnEmptyDestinationBecomesTheSourceEvenAnEmptyOne) {
    PF_LRect dst{0, 0, 0, 0};
    RectUnion(PF_LRect{1, 2, 30, 40}, dst);
    EXPECT_TRUE(sameRect(dst, PF_LRect{1, 2, 30, 40}));
    PF_LRect inverted{5, 5, 2, 9};
    RectUnion(PF_LRect{7, 7, 7, 8}, inverted);
    EXPECT_TRUE(sameRect(inverted, PF_LRect{7, 7, 7, 8}));
}

TEST(RectUnionTest, AnEmptySourceAddsNothing) {
    PF_LRect dst{0, 0, 10, 10};
    RectUnion(PF_LRect{20, 20, 20, 30}, dst);
    EXPECT_TRUE(sameRect(dst, PF_LRect{0, 0, 10, 10}));
}

TEST(RectUnionTest, TwoRectanglesGiveTheirBoundingBox) {
    PF_LRect dst{0, 5, 10, 10};
    RectUnion(PF_LRect{-3, 8, 4, 20}, dst);
    EXPECT_TRUE(sameRect(dst, PF_LRect{-3, 5, 10, 20}));
}

} // namespace
