// The table lookup and the four pixel function variants.
#include "render/RampPixel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Orvane;

namespace {

const PF_PixelFloat kAnyInput{0.3f, 0.1f, 0.2f, 0.9f};

TEST(TablePlaceTest, ZeroBlendsToExactlyTheFirstEntry) {
    const TablePlace place = placeInTable(0.0, 100.0, 11);
    EXPECT_EQ(place.kind, TablePlace::Blend);
    EXPECT_EQ(place.index, 0);
    EXPECT_EQ(place.fraction, 0.0f);
    const ColorTable table{{1, 0.25f, 0.5f, 0.75f}, {1, 1, 1, 1}};
    const PF_PixelFloat c = colorAt(table, placeInTable(0.0, 1.0, 2));
    EXPECT_EQ(c.red, 0.25f);
    EXPECT_EQ(c.green, 0.5f);
    EXPECT_EQ(c.blue, 0.75f);
}

TEST(TablePlaceTest, BehindTheRampTakesTheFirstAndAtOrBeyondItsEndTheLast) {
    EXPECT_EQ(placeInTable(-0.001, 100.0, 11).kind, TablePlace::First);
    EXPECT_EQ(placeInTable(100.0, 100.0, 11).kind, TablePlace::Last);
    EXPECT_EQ(placeInTable(1e300, 100.0, 11).kind, TablePlace::Last);
    EXPECT_EQ(placeInTable(std::numeric_limits<double>::quiet_NaN(), 100.0, 11).kind, TablePlace::First);
}

TEST(TablePlaceTest, JustBelowTheEndWhereTheFloatRoundsUpTakesTheLast) {
    const double length = 1000.0;
    const double t = std::nextafter(length, 0.0);
    ASSERT_LT(t, length);
    // f = 1000 * t / 1000 in double is just below 1000, and rounds to 1000.0f.
    EXPECT_EQ(placeInTable(t, length, 1001).kind, TablePlace::Last);
}

TEST(TablePlaceTest, MidwayInATwoEntryTableIsTheirAverage) {
    const TablePlace place = placeInTable(50.0, 100.0, 2);
    EXPECT_EQ(place.index, 0);
    EXPECT_EQ(place.fraction, 0.5f);
    const ColorTable colors{{0, 0.0f, 1.0f, 0.2f}, {0, 1.0f, 0.0f, 0.6f}};
    const PF_PixelFloat c = colorAt(colors, place);
    EXPECT_EQ(c.red, 0.5f);
    EXPECT_EQ(c.green, 0.5f);
    EXPECT_EQ(c.blue, 0.2f * 0.5f + 0.6f * 0.5f);
    EXPECT_EQ(opacityAt(OpacityTable{0.0f, 1.0f}, place), 0.5f);
}

TEST(TablePlaceTest, TheFractionIsFormedInFloatFromTheRoundedIndex) {
    // N = 4, L = 9: f = 3 * 4 / 9 = 1.3333... in double, rounded to float; i = 1; fr = f - 1 in float.
    const TablePlace place = placeInTable(4.0, 9.0, 4);
    const float f = static_cast<float>(12.0 / 9.0);
    EXPECT_EQ(place.index, 1);
    EXPECT_EQ(place.fraction, f - 1.0f);
    const OpacityTable o{0.0f, 0.2f, 0.8f, 1.0f};
    EXPECT_EQ(opacityAt(o, place), (1.0f - (f - 1.0f)) * 0.2f + (f - 1.0f) * 0.8f);
}

RampGeometry lineOfLength(double length) {
    RampGeometry g;
    g.point1 = Vec2{0, 0};
    g.direction = Vec2{1, 0};
    g.rampLength = length;
    return g;
}

TEST(PixelFunctionTest, TheConstantVariantReplacesTheColoursAlphaWithTheOpacity) {
    const PositionFunction position = makePositionFunction(1, 1, lineOfLength(10));
    const ColorTable noColors;
    const OpacityTable noOpacities;
    const auto pixel = makePixelFunction(
        position, RampInputs{noColors, noOpacities, PF_PixelFloat{0.0f, 0.2f, 0.4f, 0.6f}, 1.0f, 10.0, 2});
    const PF_PixelFloat out = pixel(kAnyInput, 3, 4);
    EXPECT_EQ(out.alpha, 1.0f) << "a colour alpha of 0 does not reach the output";
    EXPECT_EQ(out.red, 0.2f);
    EXPECT_EQ(out.green, 0.4f);
    EXPECT_EQ(out.blue, 0.6f);
    const auto overdriven = makePixelFunction(
        position, RampInputs{noColors, noOpacities, PF_PixelFloat{1, 1, 1, 1}, 1.5f, 10.0, 2});
    EXPECT_EQ(overdriven(kAnyInput, 0, 0).alpha, 1.5f) << "held later, by the filter";
}

TEST(PixelFunctionTest, TheColourRampLooksUpColoursAndKeepsTheConstantOpacity) {
    const PositionFunction position = makePositionFunction(1, 1, lineOfLength(10));
    const ColorTable colors{{1, 1, 0, 0}, {1, 0, 0, 1}};
    const OpacityTable none;
    const auto pixel = makePixelFunction(position, RampInputs{colors, none, PF_PixelFloat{}, 0.5f, 10.0, 2});
    const PF_PixelFloat behind = pixel(kAnyInput, -3, 0);
    EXPECT_EQ(behind.red, 1.0f);
    EXPECT_EQ(behind.alpha, 0.5f);
    const PF_PixelFloat middle = pixel(kAnyInput, 5, 9);
    EXPECT_EQ(middle.red, 0.5f);
    EXPECT_EQ(middle.blue, 0.5f);
    const PF_PixelFloat beyond = pixel(kAnyInput, 12, 0);
    EXPECT_EQ(beyond.blue, 1.0f);
    EXPECT_EQ(beyond.red, 0.0f);
}

TEST(PixelFunctionTest, TheOpacityRampKeepsTheConstantColour) {
    const PositionFunction position = makePositionFunction(1, 1, lineOfLength(4));
    const ColorTable none;
    const OpacityTable opacities{1.0f, 0.5f, 0.0f};
    const auto pixel =
        makePixelFunction(position, RampInputs{none, opacities, PF_PixelFloat{0.1f, 0.3f, 0.6f, 0.9f}, 7.0f, 4.0, 3});
    const PF_PixelFloat quarter = pixel(kAnyInput, 1, 0); // f = 2 * 1 / 4 = 0.5
    EXPECT_EQ(quarter.alpha, 0.75f);
    EXPECT_EQ(quarter.red, 0.3f);
    EXPECT_EQ(quarter.blue, 0.9f);
    EXPECT_EQ(pixel(kAnyInput, 4, 0).alpha, 0.0f);
}

TEST(PixelFunctionTest, BothRampsShareOnePlace) {
    const PositionFunction position = makePositionFunction(2, 1, lineOfLength(4));
    const ColorTable colors{{0, 0, 0, 0}, {0, 1, 1, 1}};
    const OpacityTable opacities{0.0f, 1.0f};
    const auto pixel = makePixelFunction(position, RampInputs{colors, opacities, PF_PixelFloat{}, 0.0f, 4.0, 2});
    const PF_PixelFloat out = pixel(kAnyInput, 0, 1); // radial distance 1: f = 0.25
    EXPECT_EQ(out.alpha, 0.25f);
    EXPECT_EQ(out.red, 0.25f);
    EXPECT_EQ(out.green, 0.25f);
}

TEST(PixelFunctionTest, ALoopClosedTableRunsBackIntoTheFirstColour) {
    const PositionFunction position = makePositionFunction(1, 2, lineOfLength(4));
    ColorTable colors{{0, 0, 0, 0}, {0, 1, 1, 1}};
    closeLoop(colors);
    const OpacityTable none;
    const auto pixel = makePixelFunction(position, RampInputs{colors, none, PF_PixelFloat{}, 1.0f, 4.0, 3});
    EXPECT_EQ(pixel(kAnyInput, 2, 0).red, 1.0f) << "the middle of a loop is the second sample";
    EXPECT_EQ(pixel(kAnyInput, 3, 0).red, 0.5f) << "three quarters blend back toward the first";
    EXPECT_EQ(pixel(kAnyInput, 4, 0).red, 0.0f) << "the next period starts at the first again";
}

} // namespace
