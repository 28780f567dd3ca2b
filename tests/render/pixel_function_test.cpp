// The table lookup and the four pixel function variants, and the ramp's row painters, which must give the
// pixel function's frames byte for byte on every vector path and never read outside their table.
#include "GuardedEntries.h"
#include "support/FrameworkFixture.h"

#include "framework/Filter.h"
#include "params/ParamIndex.h"
#include "render/RampPixel.h"
#include "render/RampRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

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

// ----- the row painters against the pixel function -----

namespace {

using OrvaneHost::WorldBuffer;
using OrvaneTest::GuardedEntries;
using OrvaneTest::TableEdge;

// One frame to draw both ways: the ramp's values as smart render derives them, and the buffers' shape.
struct Scene {
    A_long width = 0, height = 0;
    int padding = 0; // bytes after each row of both buffers
    A_long shape = kShapeLinear, repeat = kRepeatNone;
    RampGeometry geometry;
    ColorTable colors;
    OpacityTable opacities;
    PF_PixelFloat color{};
    float opacity = 0;
    A_long entryCount = 2;
    double tableLength = std::numeric_limits<double>::quiet_NaN(); // the tables' span; NaN: the ramp's length

    RampInputs inputs() const {
        const double length = std::isnan(tableLength) ? geometry.rampLength : tableLength;
        return RampInputs{colors, opacities, color, opacity, length, entryCount};
    }
    std::string describe() const {
        std::ostringstream out;
        out << width << "x" << height << " padding " << padding << ", shape " << shape << " repeat " << repeat
            << ", (" << geometry.point1.x << ", " << geometry.point1.y << ") along (" << geometry.direction.x << ", "
            << geometry.direction.y << ") length " << geometry.rampLength << ", origin " << geometry.worldOrigin.x
            << ", " << geometry.worldOrigin.y << ", tables span " << inputs().rampLength << ", " << colors.size()
            << " colours, " << opacities.size()
            << " opacities, opacity " << opacity;
        return out.str();
    }
};

constexpr int kDepthBits[] = {8, 16, 32};

struct ExactRows : OrvaneTest::FrameworkFixture, ::testing::WithParamInterface<VectorPath> {
    void SetUp() override {
        FrameworkFixture::SetUp();
        OrvaneHost::setHostThreads(host, 3);
        if (!runsVectorPath(GetParam())) GTEST_SKIP() << "this processor does not run the path";
    }

    // The destination after a filter ran over buffers that start from the same bytes.
    template <class Filter, class Function>
    std::vector<unsigned char> draw(const Scene& scene, int depthBits, const Function& function) {
        auto source = OrvaneHost::makeWorldBuffer(scene.width, scene.height, depthBits, scene.padding, true);
        auto destination = OrvaneHost::makeWorldBuffer(scene.width, scene.height, depthBits, scene.padding, true);
        OrvaneHost::fillPattern(*source, 7);
        OrvaneHost::fillPattern(*destination, 11);
        Filter filter(&in, depthBits == 8 ? Depth8 : (depthBits == 16 ? Depth16 : Depth32));
        filter.setWorlds(&source->world, &destination->world);
        filter.setFunction(&function);
        EXPECT_EQ(filter.run(), PF_Err_NONE);
        return std::vector<unsigned char>(destination->storage.get(), destination->storage.get() + destination->bytes);
    }

    static PositionFunction positionOf(const Scene& scene) {
        return makePositionFunction(scene.shape, scene.repeat, scene.geometry);
    }

    // The rows painted by RampRows and by the pixel function, at every depth.
    void expectSame(const Scene& scene) {
        const RampRows rows(positionOf(scene), scene.inputs(), GetParam());
        expectRows(scene, std::cref(rows));
    }

    // The rows painted by the path's painter reading `ramp` (a RampRows' kernel whose table the test placed)
    // and by the pixel function of the scene's tables, at every depth.
    void expectSameFrom(const Scene& scene, const RampKernelData& ramp) {
        const RampRowPainter painter = rampRowPainter(GetParam());
        expectRows(scene, [&](PixelDepth depth, A_long y, A_long width, unsigned char* row) {
            painter(ramp, depth, y, width, row);
        });
    }

    // Both ways at every depth; the first difference, if any, with where it is.
    void expectRows(const Scene& scene, const Filter::RowFunction& paint) {
        const Filter::PixelFunction pixel = makePixelFunction(positionOf(scene), scene.inputs());
        for (int depthBits : kDepthBits) {
            const auto want = draw<Filter::SimpleFilter>(scene, depthBits, pixel);
            const auto got = draw<Filter::RowFilter>(scene, depthBits, paint);
            ASSERT_EQ(got.size(), want.size());
            const auto rowbytes = std::size_t(scene.width) * std::size_t(depthBits / 2) + std::size_t(scene.padding);
            for (std::size_t i = 0; i < want.size(); ++i)
                ASSERT_EQ(got[i], want[i]) << depthBits << "-bit, byte " << i % rowbytes << " of row " << i / rowbytes
                                           << "; " << scene.describe();
        }
    }
};

// The benchmark's frames at a sixteenth of the size: the diagonal ramp in each shape, repeat mode and table
// variant, tables of the length smart render samples, rows padded by an odd number of bytes.
TEST_P(ExactRows, TheBenchmarkFramesEqualThePixelFunctionsToTheByte) {
    for (A_long shape : {kShapeLinear, kShapeRadial})
        for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong})
            for (int variant = 0; variant < 4; ++variant) {
                Scene scene;
                scene.width = 240, scene.height = 135, scene.padding = 3;
                scene.shape = shape, scene.repeat = repeat;
                RampRenderParams record{};
                record.point1[0] = 12.5, record.point1[1] = 18.75, record.point2[0] = 218.75, record.point2[1] = 118.75;
                scene.geometry = deriveGeometry(record, nullptr);
                scene.entryCount = A_long(std::ceil(scene.geometry.rampLength)) + (repeat == kRepeatLoop ? 1 : 0);
                for (A_long i = 0; i < scene.entryCount; ++i) {
                    const float u = float(i) / float(scene.entryCount - 1);
                    if (variant & 1) scene.colors.push_back(PF_PixelFloat{1.0f, u, 1.0f - u, u * u});
                    if (variant & 2) scene.opacities.push_back(1.0f - 0.8f * u);
                }
                scene.color = PF_PixelFloat{1.0f, 200 / 255.0f, 100 / 255.0f, 50 / 255.0f};
                scene.opacity = 0.75f;
                expectSame(scene);
                if (HasFatalFailure()) return;
            }
}

// Small frames of every kind: points near, far and coincident, ramps shorter than a pixel (far repeats take
// the remainder's slow way), whole-pixel ramps along an axis (positions exactly at the periods' ends),
// short ramps around a point inside the frame (rings whose row crosses their centre),
// tables spanning no length, origins away from zero, tables of 1 to 1,000 entries holding NaN, infinities,
// -0 and values outside 0..1, constant opacities outside 0..1, and every padding from 0 to 17 bytes.
TEST_P(ExactRows, ThousandRandomSmallFramesEqualThePixelFunctionsToTheByte) {
    std::mt19937 random(20261209);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto below = [&](int n) { return int(random() % unsigned(n)); };
    const float specials[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), -0.0f, 1e30f, -3.0f, 1.5f, 1.0f};
    auto value = [&] { return below(12) == 0 ? specials[below(8)] : float(uniform(0, 1)); };
    for (int frame = 0; frame < 1000; ++frame) {
        Scene scene;
        scene.width = below(4) == 0 ? 1 + below(200) : 1 + below(40); // rows of several blocks, and of one
        scene.height = 1 + below(8), scene.padding = below(18);
        scene.shape = kShapeLinear + below(2), scene.repeat = kRepeatNone + below(3); // every choice
        RampRenderParams record{};
        const int points = below(6);
        const double reach = points == 1 ? 1e5 : 60;
        for (int i = 0; i < 2; ++i) record.point1[i] = uniform(-reach, reach);
        for (int i = 0; i < 2; ++i)
            record.point2[i] = points == 2 ? record.point1[i]
                               : points == 3 ? record.point1[i] + uniform(-0.7, 0.7)
                                             : uniform(-reach, reach);
        if (points == 5) { // Point 1 inside the frame, a short ramp: rings around a column of the frame
            record.point1[0] = uniform(0, scene.width), record.point1[1] = uniform(0, scene.height);
            for (int i = 0; i < 2; ++i) record.point2[i] = record.point1[i] + uniform(-6, 6);
        }
        if (points == 4) { // whole pixels along an axis: positions land exactly on the periods' ends
            record.point1[0] = below(9) - 4, record.point1[1] = below(9) - 4;
            record.point2[0] = record.point1[0] + (below(2) ? 1 + below(4) : 0);
            record.point2[1] = record.point1[1] + (record.point2[0] == record.point1[0] ? 1 + below(4) : 0);
        }
        scene.geometry = deriveGeometry(record, nullptr);
        if (below(2)) scene.geometry.worldOrigin = Vec2{double(below(601) - 300), double(below(60001) - 30000)};
        scene.entryCount = below(4) == 0 ? 1 + below(1000) : 1 + below(12);
        if (below(16) == 0) scene.tableLength = below(2) ? -3.0 : 0.0;
        const int variant = below(4);
        for (A_long i = 0; i < scene.entryCount; ++i) {
            if (variant & 1) scene.colors.push_back(PF_PixelFloat{value(), value(), value(), value()});
            if (variant & 2) scene.opacities.push_back(value());
        }
        scene.color = PF_PixelFloat{value(), value(), value(), value()};
        scene.opacity = below(4) == 0 ? specials[below(8)] : float(uniform(-0.5, 1.5));
        expectSame(scene);
        if (HasFatalFailure()) return;
    }
}

// Ramps whose last entry is reached: ending exactly on a pixel inside the row, and on the row's last pixel
// (where each path's last group holds one pixel of the row and places columns past it); two entries on a
// ramp a pixel long; a position just below the end whose table position rounds up to the last entry (the
// one way Loop takes it whole). Points on whole pixels, so Radial ends exactly on Point 1's row.
struct TableEnd {
    const char* what;
    double point1[2], point2[2];
    double originX;
    A_long width, height, entryCount;
};

const TableEnd kTableEnds[] = {
    {"ends on a pixel inside the row", {3, 2}, {11, 2}, 0, 21, 4, 9},
    {"ends on the row's last pixel", {0, 1}, {16, 1}, 0, 17, 3, 17},
    {"two entries, a pixel long", {2, 0}, {3, 0}, 0, 7, 2, 2},
    {"just below the end, rounded up to the last entry", {1e-5, 0}, {1000 + 1e-5, 0}, 990, 16, 2, 1001},
};

// The scene of a row of kTableEnds: `variant` 1 a colour table, 2 an opacity table, 3 both, of entries
// that are never 0 (so a NaN read instead shows at every depth).
Scene tableEndScene(const TableEnd& end, A_long shape, A_long repeat, int variant) {
    Scene scene;
    scene.width = end.width, scene.height = end.height, scene.padding = 3;
    scene.shape = shape, scene.repeat = repeat;
    RampRenderParams record{};
    std::copy(end.point1, end.point1 + 2, record.point1);
    std::copy(end.point2, end.point2 + 2, record.point2);
    scene.geometry = deriveGeometry(record, nullptr);
    scene.geometry.worldOrigin.x = end.originX;
    scene.entryCount = end.entryCount;
    for (A_long i = 0; i < scene.entryCount; ++i) {
        const float u = float(i + 1) / float(scene.entryCount + 1);
        if (variant & 1) scene.colors.push_back(PF_PixelFloat{0.25f + 0.5f * u, u, 1.0f - u, 0.5f});
        if (variant & 2) scene.opacities.push_back(0.2f + 0.7f * u);
    }
    scene.color = PF_PixelFloat{1.0f, 0.8f, 0.4f, 0.2f};
    scene.opacity = 0.75f;
    return scene;
}

// Whether some pixel of the scene takes the last entry, whole or blended.
bool reachesTheLastEntry(const Scene& scene) {
    const PositionFunction position = makePositionFunction(scene.shape, scene.repeat, scene.geometry);
    const double length = scene.inputs().rampLength;
    for (A_long y = 0; y < scene.height; ++y)
        for (A_long x = 0; x < scene.width; ++x) {
            const TablePlace place = placeInTable(position(x, y), length, scene.entryCount);
            const bool blendedIn = place.kind == TablePlace::Blend && place.index == scene.entryCount - 2;
            if (place.kind == TablePlace::Last || blendedIn) return true;
        }
    return false;
}

// Every path, shape, repeat mode, table variant and depth on the ramps above, the painter's table copied to
// memory that ends at one of its ends (a page that cannot be read follows or precedes it) and holds NaN
// entries beyond its other end: reading outside the table faults or paints a NaN where the pixel function
// paints a number.
TEST_P(ExactRows, PaintersReadNothingOutsideTheirTable) {
    for (const TableEnd& end : kTableEnds)
        for (A_long shape : {kShapeLinear, kShapeRadial})
            for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong})
                for (int variant : {1, 2, 3})
                    for (TableEdge edge : {TableEdge::Start, TableEdge::End}) {
                        const Scene scene = tableEndScene(end, shape, repeat, variant);
                        SCOPED_TRACE(std::string(end.what) + ", table against its " +
                                     (edge == TableEdge::End ? "end" : "start"));
                        ASSERT_TRUE(reachesTheLastEntry(scene)) << scene.describe();
                        const RampRows rows(positionOf(scene), scene.inputs(), GetParam());
                        RampKernelData ramp = rows.kernelData();
                        const GuardedEntries guarded(std::size_t(ramp.entryCount), edge);
                        std::copy(ramp.entries, ramp.entries + ramp.entryCount, guarded.entries());
                        ramp.entries = guarded.entries();
                        expectSameFrom(scene, ramp);
                        if (HasFatalFailure()) return;
                    }
}

// Tables so long that N - 1 is no longer a float (2^24 + 1 rounds down to 2^24, 2^24 + 3 up to 2^24 + 4): the
// pixels at or past the ramp's end still take entry N - 1, and nothing past it. Only the table's first and
// last entries are written (the pages between are never touched and read as zeros); every pixel takes one of
// them whole, as the scene's two-entry tables give.
TEST_P(ExactRows, TablesTooLongForAFloatIndexEndOnTheirLastEntry) {
    constexpr A_long kFloatIntegers = A_long(1) << 24; // every whole number up to it is a float
    for (A_long count : {kFloatIntegers + 2, kFloatIntegers + 4})
        for (A_long shape : {kShapeLinear, kShapeRadial})
            for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong}) {
                Scene scene;
                scene.width = 21, scene.height = 1;
                scene.shape = shape, scene.repeat = repeat;
                RampRenderParams record{};
                record.point1[0] = 4, record.point2[0] = 5; // whole positions: 0 (the first entry) or the end
                scene.geometry = deriveGeometry(record, nullptr);
                scene.colors = {PF_PixelFloat{0.5f, 0.1f, 0.2f, 0.3f}, PF_PixelFloat{0.9f, 0.7f, 0.6f, 0.5f}};
                scene.opacities = {0.25f, 0.75f};
                scene.entryCount = 2;
                SCOPED_TRACE(count);

                const RampRows rows(positionOf(scene), scene.inputs(), GetParam());
                RampKernelData ramp = rows.kernelData();
                const GuardedEntries guarded(std::size_t(count), TableEdge::End);
                guarded.entries()[0] = ramp.entries[0];
                guarded.entries()[count - 1] = ramp.entries[1];
                ramp.entries = guarded.entries();
                ramp.entryCount = count;
                expectSameFrom(scene, ramp);
                if (HasFatalFailure()) return;
            }
}

std::string pathName(const ::testing::TestParamInfo<VectorPath>& info) {
    static const char* const names[] = {"Sse2", "Avx2", "Avx512"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryPath, ExactRows,
                         ::testing::Values(VectorPath::Sse2, VectorPath::Avx2, VectorPath::Avx512), pathName);

} // namespace
