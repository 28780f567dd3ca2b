// Ramp geometry from the record's points, and the six position functions.
#include "params/ParamIndex.h"
#include "render/RampGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Orvane;

namespace {

RampRenderParams recordWith(double x1, double y1, double x2, double y2) {
    RampRenderParams record{};
    record.shape = kShapeLinear;
    record.repeat = kRepeatNone;
    record.point1[0] = x1;
    record.point1[1] = y1;
    record.point2[0] = x2;
    record.point2[1] = y2;
    return record;
}

double positionAt(A_long shape, A_long repeat, const RampGeometry& g, int x, int y) {
    return makePositionFunction(shape, repeat, g)(x, y);
}

TEST(RampGeometryTest, DefaultPointsGiveTheWidthAsLengthAlongX) {
    const RampGeometry g = deriveGeometry(recordWith(0, 540, 1920, 540), nullptr);
    EXPECT_EQ(g.rampLength, 1920.0);
    EXPECT_EQ(g.direction.x, 1.0);
    EXPECT_EQ(g.direction.y, 0.0);
    EXPECT_EQ(g.point1.y, 540.0);
    EXPECT_EQ(g.worldOrigin.x, 0.0);
}

TEST(RampGeometryTest, ADiagonalRampHasAUnitDirection) {
    const RampGeometry g = deriveGeometry(recordWith(10, 20, 13, 24), nullptr);
    EXPECT_EQ(g.rampLength, 5.0);
    EXPECT_EQ(g.direction.x, 3.0 / 5.0);
    EXPECT_EQ(g.direction.y, 4.0 / 5.0);
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatNone, g, 10, 20), 0.0);
    EXPECT_DOUBLE_EQ(positionAt(kShapeLinear, kRepeatNone, g, 13, 24), 5.0);
    // (14, 17) lies on the perpendicular through Point 1: d = (4, -3).
    EXPECT_NEAR(positionAt(kShapeLinear, kRepeatNone, g, 14, 17), 0.0, 1e-12);
}

TEST(RampGeometryTest, CoincidentPointsGiveTheShortestLengthAndNoDirection) {
    const RampGeometry g = deriveGeometry(recordWith(5, 5, 5, 5), nullptr);
    EXPECT_EQ(g.rampLength, 1e-6);
    EXPECT_EQ(g.direction.x, 0.0);
    EXPECT_EQ(g.direction.y, 0.0);
    for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong}) EXPECT_EQ(positionAt(kShapeLinear, repeat, g, 100, -30), 0.0) << repeat;
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatNone, g, 8, 9), 5.0) << "radial is the plain distance";
}

TEST(RampGeometryTest, LinearNoneIsTheSignedDistanceAlongTheAxis) {
    const RampGeometry g = deriveGeometry(recordWith(100, 50, 300, 50), nullptr);
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatNone, g, 100, 999), 0.0) << "on the perpendicular through Point 1";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatNone, g, 300, -7), 200.0) << "on the perpendicular through Point 2";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatNone, g, 0, 50), -100.0) << "half the length behind Point 1";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatNone, g, 500, 50), 400.0) << "beyond Point 2, not held";
}

TEST(RampGeometryTest, LoopWrapsIntoZeroToLength) {
    const RampGeometry g = deriveGeometry(recordWith(0, 0, 4, 0), nullptr);
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatLoop, g, -1, 0), 3.0) << "-L/4 gives 3L/4";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatLoop, g, 4, 0), 0.0) << "L gives 0";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatLoop, g, 6, 0), 2.0) << "1.5 L gives L/2";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatLoop, g, -8, 3), 0.0);
}

TEST(RampGeometryTest, PingpongRunsForwardThenBack) {
    const RampGeometry g = deriveGeometry(recordWith(0, 0, 4, 0), nullptr);
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatPingpong, g, 1, 0), 1.0);
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatPingpong, g, 4, 0), 4.0) << "L gives 2L - L";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatPingpong, g, 7, 0), 1.0) << "1.75 L gives L/4";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatPingpong, g, -1, 0), 1.0) << "-L/4 gives L/4 after the fix-up";
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatPingpong, g, 9, 0), 1.0) << "the third period runs forward again";
}

TEST(RampGeometryTest, RadialMeasuresAroundPointOne) {
    const RampGeometry g = deriveGeometry(recordWith(0, 0, 4, 0), nullptr);
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatNone, g, 3, 4), 5.0);
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatNone, g, 0, 4), 4.0) << "Point 2's circle";
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatLoop, g, 0, 4), 0.0) << "Loop: the distance L gives 0";
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatLoop, g, 3, 4), 1.0);
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatPingpong, g, 3, 4), 3.0) << "Pingpong: 5 is 2L - 5 = 3";
}

TEST(RampGeometryTest, TheInputOriginShiftsEveryPixel) {
    PF_EffectWorld buffer{};
    buffer.origin_x = -20;
    buffer.origin_y = 7;
    const World input(&buffer);
    const RampGeometry g = deriveGeometry(recordWith(0, 0, 100, 0), &input);
    EXPECT_EQ(g.worldOrigin.x, -20.0);
    EXPECT_EQ(g.worldOrigin.y, 7.0);
    EXPECT_EQ(positionAt(kShapeLinear, kRepeatNone, g, 20, 0), 0.0) << "column 20 of the buffer is x = 0 of the layer";
    EXPECT_EQ(positionAt(kShapeRadial, kRepeatNone, g, 23, -3), 5.0);
}

TEST(RampGeometryTest, ChoicesOutsideThePopupsDrawAsTheFirstChoice) {
    const RampGeometry g = deriveGeometry(recordWith(0, 0, 4, 0), nullptr);
    for (A_long shape : {0, 3, -1, 0x7FFFFFFF}) {
        EXPECT_EQ(positionAt(shape, kRepeatNone, g, 3, 4), 3.0) << "shape " << shape << " is Linear";
    }
    for (A_long repeat : {0, 4, -2}) {
        EXPECT_EQ(positionAt(kShapeLinear, repeat, g, 9, 0), 9.0) << "repeat " << repeat << " is None";
        EXPECT_FALSE(isLoop(repeat));
    }
}

TEST(RampGeometryTest, NonFinitePointsGiveSafeGeometry) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const RampGeometry far = deriveGeometry(recordWith(0, 0, inf, 0), nullptr);
    EXPECT_EQ(far.rampLength, inf);
    EXPECT_EQ(far.direction.x, 0.0) << "no direction toward an infinitely far point";
    const RampGeometry broken = deriveGeometry(recordWith(nan, 0, 4, 0), nullptr);
    EXPECT_EQ(broken.rampLength, 1e-6);
    EXPECT_EQ(broken.direction.x, 0.0);
    EXPECT_TRUE(std::isnan(positionAt(kShapeRadial, kRepeatLoop, broken, 1, 1)));
}

} // namespace
