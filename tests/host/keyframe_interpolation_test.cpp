// The host's values between keyframes, against closed forms worked out by hand rather than the host's own
// formulas: linear sides keep their old arithmetic, hold holds, eases follow the (time, value) curve (easy
// ease is 3u^2 - 2u^3), a side leaves and arrives at its speed, popups switch at their keyframes, and a
// point moves along its curved path at the distance its ease gives (constant speed when linear), measured
// on the test's own dense polyline of the curve.
#include "support/ModuleHost.h"

#include "host/ParamStreams.h"
#include "host/ParameterControls.h"
#include "host/Scene.h"
#include "params/ParamIndex.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace OrvaneHost;

namespace {

constexpr double kSpan = 2;               // seconds from the first keyframe to the second
constexpr A_u_long kSampleScale = 128;    // the times asked: i / 128 s, each an exact share i / 256 of the span
constexpr int kSamples = 256;
constexpr double kThird = 1.0 / 3.0;

KeyframeSide linear() { return {}; }
KeyframeSide hold() { return {Interpolation::Hold, {}}; }
KeyframeSide bezier(double speed, double influence) { return {Interpolation::Bezier, Ease{speed, influence}}; }

ParamStream streamOf(PF_ParamType type, std::vector<Keyframe> keys) {
    ParamStream stream;
    stream.def.param_type = type;
    setKeyframes(stream, std::move(keys));
    return stream;
}

// Two keyframes kSpan apart, `from` leaving on `out`, `to` arriving on `in`.
ParamStream segment(PF_ParamType type, const StreamValue& from, const StreamValue& to, KeyframeSide out,
                    KeyframeSide in) {
    Keyframe first{timeAt(0), from}, last{timeAt(kSpan), to};
    first.out = out;
    last.in = in;
    return streamOf(type, {first, last});
}

// The share u = i / kSamples of the span.
A_Time sampleTime(int i) { return A_Time{i, kSampleScale}; }
double shareOf(int i) { return double(i) / kSamples; }

struct OneDimensionalCase {
    const char* name;
    KeyframeSide out, in;
    std::function<double(double u)> percentAt; // 0 % at u = 0 to 100 % at u = 1
    double tolerance;                          // in percent
};

void PrintTo(const OneDimensionalCase& c, std::ostream* out) { *out << c.name; }

double easyEase(double u) { return 100 * (3 * u * u - 2 * u * u * u); }

// With both influences at 100 % the time curve is 3s - 6s^2 + 4s^3 = 1/2 + 4 (s - 1/2)^3, flat at mid-time.
double fullInfluence(double u) {
    const double s = 0.5 + std::cbrt((u - 0.5) / 4);
    return 100 * (3 * s * s - 2 * s * s * s);
}

std::vector<OneDimensionalCase> oneDimensionalCases() {
    return {
        {"LinearSidesAreTheStraightLine", linear(), linear(), [](double u) { return 100 * u; }, 0},
        {"EasyEaseOfExactlyAThirdIs3u2Minus2u3", bezier(0, kThird), bezier(0, kThird), easyEase, 1e-9},
        // 0.33333 rather than a third bends the time curve by at most 1.1e-4 percentage points.
        {"TheDefaultEaseIsWithinTwoTenThousandthsOfIt", bezier(0, kEasyEaseInfluence),
         bezier(0, kEasyEaseInfluence), easyEase, 2e-4},
        {"EaseOutAloneIs200u2Minus100u3", bezier(0, kThird), linear(),
         [](double u) { return 200 * u * u - 100 * u * u * u; }, 1e-9},
        {"EaseInAloneIs100uPlus100u2Minus100u3", linear(), bezier(0, kThird),
         [](double u) { return 100 * u + 100 * u * u - 100 * u * u * u; }, 1e-9},
        // 150 % per second over a third of 2 s rises 100 %: handles at 100, 100, 100.
        {"LeavingAt150PercentPerSecondIs100TimesOneMinusTheCubeOf1MinusU", bezier(150, kThird), bezier(0, kThird),
         [](double u) { return 100 * (1 - (1 - u) * (1 - u) * (1 - u)); }, 1e-9},
        {"TheAverageSpeedOverAThirdIsTheStraightLine", bezier(50, kThird), linear(), [](double u) { return 100 * u; },
         1e-9},
        {"FullInfluenceSolvesThroughTheFlatTimeCurve", bezier(0, 1), bezier(0, 1), fullInfluence, 1e-9},
        {"HoldOutHoldsUntilTheNextKeyframe", hold(), linear(), [](double u) { return u < 1 ? 0.0 : 100.0; }, 0},
        {"HoldInHoldsToo", linear(), hold(), [](double u) { return u < 1 ? 0.0 : 100.0; }, 0},
        {"HoldWinsOverAnEase", bezier(0, kThird), hold(), [](double u) { return u < 1 ? 0.0 : 100.0; }, 0},
    };
}

struct OneDimensionalSegments : ::testing::TestWithParam<OneDimensionalCase> {};

TEST_P(OneDimensionalSegments, FollowTheirClosedForms) {
    const OneDimensionalCase& c = GetParam();
    const ParamStream opacity = segment(PF_Param_FLOAT_SLIDER, sliderValue(0), sliderValue(100), c.out, c.in);
    for (int i = 0; i <= kSamples; ++i)
        ASSERT_NEAR(valueAt(opacity, sampleTime(i))[0], c.percentAt(shareOf(i)), c.tolerance) << "u = " << shareOf(i);
}

INSTANTIATE_TEST_SUITE_P(Interpolation, OneDimensionalSegments, ::testing::ValuesIn(oneDimensionalCases()),
                         [](const ::testing::TestParamInfo<OneDimensionalCase>& info) { return info.param.name; });

// The slope of the value where a segment starts and ends is the speed its sides give, whatever their
// influence: measured over a nanosecond.
TEST(EasedSegments, LeaveAndArriveAtTheirSpeeds) {
    struct Speeds {
        double out, outInfluence, in, inInfluence;
    };
    const A_Time nanosecond{1, 1000000000};
    const A_Time endLess{int(kSpan * 1000000000) - 1, 1000000000};
    for (const Speeds& s : {Speeds{50, 0.001, -30, 1}, Speeds{-30, 1, 50, 0.001}, Speeds{0, 0.5, 0, 0.5},
                            Speeds{200, 0.25, 10, 0.75}}) {
        SCOPED_TRACE(testing::Message() << "out " << s.out << " at " << s.outInfluence << ", in " << s.in << " at "
                                        << s.inInfluence);
        const ParamStream stream = segment(PF_Param_FLOAT_SLIDER, sliderValue(20), sliderValue(80),
                                           bezier(s.out, s.outInfluence), bezier(s.in, s.inInfluence));
        const double leaving = (valueAt(stream, nanosecond)[0] - 20) / 1e-9;
        const double arriving = (80 - valueAt(stream, endLess)[0]) / 1e-9;
        EXPECT_NEAR(leaving, s.out, 0.05);
        EXPECT_NEAR(arriving, s.in, 0.05);
    }
}

// A colour's speed is in levels 0-255 per second, the same for every channel, and every channel eases on
// the one time curve; a held colour is exactly its keyframe's.
TEST(EasedSegments, ColoursEaseEveryChannelOnOneCurveWithSpeedsInLevels) {
    const StreamValue from{1, 1, 0, 0.2}, to{1, 0, 1, 0.2};
    const ParamStream eased = segment(PF_Param_COLOR, from, to, bezier(0, kThird), bezier(0, kThird));
    for (int i = 0; i <= kSamples; ++i) {
        const double e = easyEase(shareOf(i)) / 100;
        const StreamValue v = valueAt(eased, sampleTime(i));
        ASSERT_NEAR(v[1], 1 - e, 1e-12);
        ASSERT_NEAR(v[2], e, 1e-12);
        ASSERT_NEAR(v[3], 0.2, 1e-12);
    }
    // 51 levels per second is 0.2 of a channel per second, for each channel.
    const ParamStream fast = segment(PF_Param_COLOR, from, to, bezier(51, 0.5), bezier(0, 0.5));
    const StreamValue leaving = valueAt(fast, A_Time{1, 1000000000});
    EXPECT_NEAR((leaving[1] - from[1]) / 1e-9, 0.2, 1e-4);
    EXPECT_NEAR((leaving[2] - from[2]) / 1e-9, 0.2, 1e-4);
    const ParamStream held = segment(PF_Param_COLOR, from, to, hold(), linear());
    EXPECT_EQ(valueAt(held, A_Time{kSampleScale * int(kSpan) - 1, kSampleScale}), from);
    EXPECT_EQ(valueAt(held, timeAt(kSpan)), to);
}

// A popup switches on the instant its keyframe's time is reached, whatever its keyframes' sides say.
TEST(PopupKeyframes, SwitchAtTheirTimesWhateverTheirSidesSay) {
    for (const KeyframeSide& side : {linear(), bezier(3, 0.5), hold()}) {
        std::vector<Keyframe> keys = {
            {timeAt(0), popupValue(1)}, {timeAt(1), popupValue(3)}, {timeAt(2.5), popupValue(2)}};
        for (Keyframe& key : keys) key.in = key.out = side;
        const ParamStream popup = streamOf(PF_Param_POPUP, keys);
        EXPECT_EQ(valueAt(popup, A_Time{119999, 120000})[0], 1);
        EXPECT_EQ(valueAt(popup, A_Time{1, 1})[0], 3);
        EXPECT_EQ(valueAt(popup, A_Time{249, 100})[0], 3);
        EXPECT_EQ(valueAt(popup, A_Time{5, 2})[0], 2);
        EXPECT_EQ(valueAt(popup, A_Time{7, 1})[0], 2);
    }
}

// ---- points ---------------------------------------------------------------------------------------------

struct Point {
    double x, y;
};

// The test's own path: the cubic through the two points and their handles, as a polyline of many chords
// with the distance along it at each vertex.
struct Polyline {
    std::vector<Point> vertices;
    std::vector<double> distance;

    Polyline(Point a, Point handleA, Point handleB, Point b, int chords = 1 << 16) {
        for (int k = 0; k <= chords; ++k) {
            const double s = double(k) / chords, r = 1 - s;
            const double w0 = r * r * r, w1 = 3 * r * r * s, w2 = 3 * r * s * s, w3 = s * s * s;
            vertices.push_back({w0 * a.x + w1 * handleA.x + w2 * handleB.x + w3 * b.x,
                                w0 * a.y + w1 * handleA.y + w2 * handleB.y + w3 * b.y});
            distance.push_back(k == 0 ? 0
                                      : distance.back() + std::hypot(vertices[k].x - vertices[k - 1].x,
                                                                     vertices[k].y - vertices[k - 1].y));
        }
    }
    double length() const { return distance.back(); }
    // How far along the path p lies: at its nearest place on the nearest chord.
    double distanceOf(Point p) const {
        double best = std::numeric_limits<double>::infinity(), along = 0;
        for (std::size_t k = 1; k < vertices.size(); ++k) {
            const Point a = vertices[k - 1], b = vertices[k];
            const double dx = b.x - a.x, dy = b.y - a.y, chord = dx * dx + dy * dy;
            const double t = chord > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / chord, 0.0, 1.0) : 0;
            const double gap = std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
            if (gap < best) best = gap, along = distance[k - 1] + t * (distance[k] - distance[k - 1]);
        }
        return along;
    }
};

struct PathCase {
    const char* name;
    Point from, to;
    Tangent out, in;
    bool symmetric; // about the perpendicular bisector of from-to, so mid-time is the curve's middle
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

std::vector<PathCase> pathCases() {
    return {
        {"AnArch", {0, 0}, {200, 0}, {50, 100}, {-50, 100}, true},
        {"ACuspAtItsMiddle", {0, 0}, {100, 0}, {100, 100}, {-100, 100}, true}, // the speed is 0 there
        {"AnSCurve", {10, 20}, {310, 120}, {200, 0}, {-50, 150}, false},
        {"OnlyTheFirstKeyframeBends", {0, 0}, {200, 0}, {0, 150}, {0, 0}, false},
    };
}

Point positionAt(const ParamStream& stream, const A_Time& time) {
    const StreamValue v = valueAt(stream, time);
    return {v[0], v[1]};
}

ParamStream pointSegment(const PathCase& c, KeyframeSide out, KeyframeSide in) {
    Keyframe first{timeAt(0), pointValue(c.from.x, c.from.y)}, last{timeAt(kSpan), pointValue(c.to.x, c.to.y)};
    first.out = out;
    first.tangentOut = c.out;
    last.in = in;
    last.tangentIn = c.in;
    return streamOf(PF_Param_POINT, {first, last});
}

Polyline polylineOf(const PathCase& c) {
    return Polyline(c.from, {c.from.x + c.out.dx, c.from.y + c.out.dy}, {c.to.x + c.in.dx, c.to.y + c.in.dy}, c.to);
}

struct CurvedPaths : ::testing::TestWithParam<PathCase> {};

// Linear keyframes move a point at constant speed: equal distances along the curve in equal times, and a
// symmetric curve's middle at mid-time (where its 16.16 checkout is that point rounded once).
TEST_P(CurvedPaths, LinearKeyframesCoverEqualLengthsInEqualTimes) {
    const PathCase& c = GetParam();
    const ParamStream stream = pointSegment(c, linear(), linear());
    const Polyline path = polylineOf(c);
    constexpr int kSteps = 32;
    for (int i = 0; i <= kSteps; ++i) {
        const Point p = positionAt(stream, A_Time{i * int(kSpan) * 4, kSteps * 4});
        EXPECT_NEAR(path.distanceOf(p), path.length() * i / kSteps, 1e-6) << "step " << i;
    }
    if (!c.symmetric) return;
    const Point middle{(c.from.x + 3 * (c.from.x + c.out.dx) + 3 * (c.to.x + c.in.dx) + c.to.x) / 8,
                       (c.from.y + 3 * (c.from.y + c.out.dy) + 3 * (c.to.y + c.in.dy) + c.to.y) / 8};
    const Point half = positionAt(stream, timeAt(kSpan / 2));
    EXPECT_NEAR(half.x, middle.x, 1e-6);
    EXPECT_NEAR(half.y, middle.y, 1e-6);
    PF_ParamDef def{};
    def.param_type = PF_Param_POINT;
    ParamStream checkedOut = stream;
    checkedOut.current = def;
    const PF_ParamDef at = checkoutAt(checkedOut, timeAt(kSpan / 2));
    EXPECT_EQ(at.u.td.x_value, PF_Fixed(std::lround(middle.x * 65536)));
    EXPECT_EQ(at.u.td.y_value, PF_Fixed(std::lround(middle.y * 65536)));
}

// The ease of a point is the distance along its path: easy ease covers 3u^2 - 2u^3 of the length.
TEST_P(CurvedPaths, AnEasedPointCoversTheDistanceItsEaseGives) {
    const PathCase& c = GetParam();
    const ParamStream stream = pointSegment(c, bezier(0, kThird), bezier(0, kThird));
    const Polyline path = polylineOf(c);
    for (int i = 0; i <= 16; ++i) {
        const double u = i / 16.0;
        const Point p = positionAt(stream, A_Time{i * int(kSpan), 16});
        EXPECT_NEAR(path.distanceOf(p), path.length() * easyEase(u) / 100, 1e-6) << "u = " << u;
    }
}

INSTANTIATE_TEST_SUITE_P(Points, CurvedPaths, ::testing::ValuesIn(pathCases()),
                         [](const ::testing::TestParamInfo<PathCase>& info) { return info.param.name; });

// A straight path with linear sides is today's arithmetic bit for bit; eased, it is the same line.
TEST(StraightPaths, KeepTheirArithmeticAndEaseAlongTheLine) {
    const StreamValue a = pointValue(10.25, 20), b = pointValue(310, -80.5);
    const ParamStream plain = segment(PF_Param_POINT, a, b, linear(), linear());
    const ParamStream eased = segment(PF_Param_POINT, a, b, bezier(0, kThird), bezier(0, kThird));
    for (int i = 0; i <= kSamples; ++i) {
        const double u = shareOf(i), e = easyEase(u) / 100;
        const StreamValue v = valueAt(plain, sampleTime(i));
        ASSERT_EQ(v[0], a[0] + (b[0] - a[0]) * u);
        ASSERT_EQ(v[1], a[1] + (b[1] - a[1]) * u);
        const StreamValue w = valueAt(eased, sampleTime(i));
        ASSERT_NEAR(w[0], a[0] + (b[0] - a[0]) * e, 1e-9);
        ASSERT_NEAR(w[1], a[1] + (b[1] - a[1]) * e, 1e-9);
    }
}

// ---- what a scene may carry -------------------------------------------------------------------------------

// One instant gives one value whatever the scales of the keyframes and the time asked, eased or not.
TEST(EasedSegments, AnInstantGivesOneValueWhateverTheScales) {
    for (const KeyframeSide& side : {bezier(0, kEasyEaseInfluence), bezier(-40, 0.8), hold()}) {
        std::vector<Keyframe> fine = {
            {timeAt(0), sliderValue(10)}, {timeAt(0.5), sliderValue(90)}, {timeAt(1), sliderValue(30)}};
        std::vector<Keyframe> coarse = {
            {A_Time{0, 24}, sliderValue(10)}, {A_Time{12, 24}, sliderValue(90)}, {A_Time{24, 24}, sliderValue(30)}};
        for (auto* keys : {&fine, &coarse})
            for (Keyframe& key : *keys) key.in = key.out = side;
        const ParamStream a = streamOf(PF_Param_FLOAT_SLIDER, fine), b = streamOf(PF_Param_FLOAT_SLIDER, coarse);
        for (A_long unit = -10; unit <= 1010; unit += 7) {
            ASSERT_EQ(valueAt(a, A_Time{unit, 1000}), valueAt(b, A_Time{unit * 120, kTimeScale})) << unit;
        }
    }
}

// A side nobody can set (NaN or an influence outside 0.1-100 %, put past applyScene) still gives a value
// at once: the solves are bounded.
TEST(EasedSegments, AnyEaseGivesAValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Ease& ease : {Ease{nan, 0.5}, Ease{0, nan}, Ease{inf, 0.5}, Ease{0, 0}, Ease{0, 7}, Ease{0, -1}}) {
        const ParamStream opacity = segment(PF_Param_FLOAT_SLIDER, sliderValue(0), sliderValue(100),
                                            {Interpolation::Bezier, ease}, {Interpolation::Bezier, ease});
        valueAt(opacity, timeAt(0.7));
        Keyframe first{timeAt(0), pointValue(0, 0)}, last{timeAt(1), pointValue(50, 50)};
        first.out = last.in = {Interpolation::Bezier, ease};
        first.tangentOut = {nan, ease.influence};
        last.tangentIn = {inf, 3};
        valueAt(streamOf(PF_Param_POINT, {first, last}), timeAt(0.3));
    }
}

TEST(SceneKeyframes, AreRefusedWhereTheArithmeticCannotGo) {
    auto host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Bad {
        PF_ParamIndex index;
        Keyframe key;
        const char* named;
    };
    Keyframe tooLittle{timeAt(1), sliderValue(5)}, tooMuch = tooLittle, fastNan = tooLittle;
    Keyframe bentNan{timeAt(1), pointValue(1, 1)};
    tooLittle.out = bezier(0, 0.0009);
    tooMuch.in = bezier(0, 1.01);
    fastNan.out = bezier(nan, 0.5);
    bentNan.tangentIn = {0, nan};
    for (const Bad& bad : {Bad{Orvane::kParamOpacity, tooLittle, "influence"},
                           Bad{Orvane::kParamOpacity, tooMuch, "influence"}, Bad{Orvane::kParamOpacity, fastNan, "speed"},
                           Bad{Orvane::kParamPoint1, bentNan, "tangent"}}) {
        try {
            applyScene(*host, Scene().set(Orvane::kParamOpacity, sliderValue(1)).key(bad.index, bad.key));
            ADD_FAILURE() << bad.named << " was taken";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(bad.named), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("keyframe at 120000/120000"), std::string::npos) << e.what();
        }
        EXPECT_EQ(host->streams()[Orvane::kParamOpacity].current.u.fs_d.value, 100) << "nothing was changed";
        EXPECT_TRUE(host->streams()[bad.index].keyframes.empty());
    }
}

} // namespace
