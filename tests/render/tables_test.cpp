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

// A host counting frames hands out keyframe times of 24 or 30 units per second; sampled on that scale, a
// ramp of hundreds of pixels would get one colour per frame of animation.
TEST(SampleTimeTest, ACoarseScaleIsSampledOnAFinerBaseOfTheSameInstants) {
    for (A_long n : {2, 7, 300, 1920}) {
        SCOPED_TRACE(n);
        for (A_long i = 0; i < n; ++i) {
            const A_Time coarse = sampleTime(A_Time{24, 24}, A_Time{48, 24}, i, n);
            const A_Time fine = sampleTime(A_Time{120000, 120000}, A_Time{240000, 120000}, i, n);
            ASSERT_EQ(coarse.value, fine.value) << i;
            ASSERT_EQ(coarse.scale, fine.scale) << i;
        }
    }
    EXPECT_EQ(sampleTime(A_Time{0, 30}, A_Time{30, 30}, 1, 3).value, 60000);
    EXPECT_EQ(sampleTime(A_Time{0, 30}, A_Time{30, 30}, 1, 3).scale, 120000u);
    const A_Time seventh = sampleTime(A_Time{1, 7}, A_Time{2, 7}, 0, 2);
    EXPECT_EQ(seventh.scale, 120001u) << "the smallest whole multiple at or above 120000";
    EXPECT_EQ(seventh.value, 17143);
}

TEST(SampleTimeTest, TheFinerBaseShrinksWhereATimeWouldNotFitThirtyTwoBits) {
    const A_Time late = sampleTime(A_Time{0, 1}, A_Time{1000000, 1}, 1, 2);
    EXPECT_EQ(late.scale, 2147u) << "1000000 x 2147 is the last multiple below 2^31";
    EXPECT_EQ(late.value, 2147000000);
    const A_Time latest = sampleTime(A_Time{0, 24}, A_Time{std::numeric_limits<A_long>::max(), 24}, 1, 2);
    EXPECT_EQ(latest.scale, 24u);
    EXPECT_EQ(latest.value, std::numeric_limits<A_long>::max());
}

TEST(SampleTimeTest, AtTheFineScaleOrFinerNothingChanges) {
    for (A_u_long scale : {120000u, 120001u, 240000u, 1000000u}) {
        const A_Time t = sampleTime(A_Time{-7, scale}, A_Time{100003, scale}, 333, 1000);
        EXPECT_EQ(t.scale, scale);
        EXPECT_EQ(t.value, -7 + A_long(std::int64_t(100010) * 333 / 999));
    }
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
