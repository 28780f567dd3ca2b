// The benchmark's frames, smaller: a diagonal ramp (no row is constant) in each shape, repeat mode and table
// variant at every depth, rendered through the host (smart render draws them with the row painters of this
// machine's fastest vector path) and compared bit for bit with a plain per-pixel evaluation of the same
// arithmetic written out here, one step after another, with no shortcuts. However the painters are made
// fast, these frames must not change.
#include "RenderFixture.h"

#include "host/ParamStreams.h"
#include "host/PopupChoices.h"
#include "render/RampGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

constexpr int kWidth = 480, kHeight = 270;
// The benchmark's (200, 300) to (3500, 1900) on its 3840 x 2160 frame, scaled to this frame and rounded.
constexpr double kP1x = 25, kP1y = 37, kP2x = 437, kP2y = 237;

enum class Tables { Constant, Color, ColorAndOpacity };

struct Case {
    int depth;
    A_long shape;  // a ShapeChoice
    A_long repeat; // a RepeatChoice
    Tables tables;
};

// Colour keyframes through three colours (so the table is not one straight blend) and opacity 100 to 20.
const StreamValue kColorKeys[] = {{1, 1, 0.25, 0}, {1, 0, 1, 0.5}, {1, 0.125, 0, 1}};
const double kColorKeyTimes[] = {0, 0.75, 2};
const StreamValue kOpacityKeys[] = {{100, 0, 0, 0}, {20, 0, 0, 0}};
const double kOpacityKeyTimes[] = {0.5, 1.5};

// ----- the reference: each step as plainly as it can be written -----

struct Reference {
    double l = 0, dirX = 0, dirY = 0;
    A_long n = 0;
    std::vector<PF_PixelFloat> colors;
    std::vector<float> opacities;
    PF_PixelFloat constant{};
    float opacity = 0;
    Case c{};
};

std::vector<StreamValue> sampleStream(const ParamStream& stream, A_long n) {
    std::vector<StreamValue> values;
    const A_Time t0 = stream.keyframes.front().time;
    const A_Time t1 = stream.keyframes.back().time;
    for (A_long i = 0; i < n; ++i) {
        const std::int64_t span = std::int64_t(t1.value) - t0.value;
        const A_Time t{static_cast<A_long>(t0.value + (span * i) / (n - 1)), t0.scale};
        values.push_back(valueAt(stream, t));
    }
    return values;
}

double repeatOf(double s, const Reference& r) {
    const double len = r.l;
    if (r.c.repeat == kRepeatLoop) {
        double m = std::fmod(s, len);
        if (0 > m) m = m + len;
        return m;
    }
    if (r.c.repeat == kRepeatPingpong) {
        double m = std::fmod(s, 2 * len);
        if (0 > m) m = m + 2 * len;
        return len > m ? m : 2 * len - m;
    }
    return s;
}

PF_PixelFloat referencePixel(const Reference& r, int x, int y) {
    if (r.colors.empty() && r.opacities.empty()) return r.constant;
    const double dx = double(x) - kP1x;
    const double dy = double(y) - kP1y;
    const double s = r.c.shape == kShapeRadial ? std::sqrt(dx * dx + dy * dy) : dx * r.dirX + dy * r.dirY;
    const double t = repeatOf(s, r);
    const A_long entries = r.c.repeat == kRepeatLoop ? r.n + 1 : r.n;
    PF_PixelFloat color{0, r.constant.red, r.constant.green, r.constant.blue};
    float opacity = r.opacity;
    std::size_t lo = 0, hi = 0;
    float fr = 0;
    if (0 > t) {
        lo = hi = 0;
    } else if (t >= r.l) {
        lo = hi = std::size_t(entries - 1);
    } else {
        const float f = static_cast<float>((double(entries - 1) * t) / r.l);
        const float fl = std::floor(f);
        if (fl >= float(entries - 1)) {
            lo = hi = std::size_t(entries - 1);
        } else {
            lo = std::size_t(fl);
            hi = lo + 1;
            fr = f - float(lo);
        }
    }
    const float keep = 1.0f - fr;
    if (!r.colors.empty()) {
        if (lo == hi) {
            color = r.colors[lo];
        } else {
            color.red = (r.colors[lo].red * keep) + (r.colors[hi].red * fr);
            color.green = (r.colors[lo].green * keep) + (r.colors[hi].green * fr);
            color.blue = (r.colors[lo].blue * keep) + (r.colors[hi].blue * fr);
        }
    }
    if (!r.opacities.empty())
        opacity = lo == hi ? r.opacities[lo] : keep * r.opacities[lo] + fr * r.opacities[hi];
    return PF_PixelFloat{opacity, color.red, color.green, color.blue};
}

int toInteger(float c, float full) {
    const float v = c * full + 0.5f;
    if (!(v >= 0)) return 0;
    if (v > full) return int(full);
    return int(v);
}

// The frame's pixel against the reference's at the frame's depth: integers rounded as the effect rounds them,
// floats bit for bit with the alpha held to 0..1.
::testing::AssertionResult matchesReference(const Frame& f, int depth, int x, int y, const PF_PixelFloat& p) {
    if (depth != 32) {
        const float full = depth == 8 ? 255.0f : 32768.0f;
        const int a = toInteger(p.alpha, full), r = toInteger(p.red, full), g = toInteger(p.green, full),
                  b = toInteger(p.blue, full);
        return depth == 8 ? is8(f, x, y, a, r, g, b) : is16(f, x, y, a, r, g, b);
    }
    PF_PixelFloat want = p;
    want.alpha = p.alpha > 1 ? 1 : (p.alpha >= 0 ? p.alpha : 0);
    const auto got = pixelOf<PF_PixelFloat>(f, x, y);
    if (std::memcmp(&want, &got, sizeof want) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "float (" << x << "," << y << ") is " << got.alpha << " " << got.red
                                         << " " << got.green << " " << got.blue << ", not " << want.alpha << " "
                                         << want.red << " " << want.green << " " << want.blue;
}

// ----- the frames -----

struct ReferenceFrame : RenderFixture, ::testing::WithParamInterface<Case> {
    Reference reference() {
        Reference r;
        r.c = GetParam();
        const double vx = kP2x - kP1x, vy = kP2y - kP1y;
        r.l = std::sqrt(vx * vx + vy * vy);
        r.dirX = vx / r.l;
        r.dirY = vy / r.l;
        r.n = std::max<A_long>(2, A_long(std::ceil(r.l)));
        // The record's constants: byte / 255 and percent * 0.01, in double, rounded to float.
        r.constant = PF_PixelFloat{1.0f, float(200 / 255.0), float(100 / 255.0), float(50 / 255.0)};
        r.opacity = float(75 * 0.01);
        if (r.c.tables != Tables::Constant)
            for (const StreamValue& v : sampleStream(host->streams().at(kParamColor), r.n))
                r.colors.push_back(PF_PixelFloat{float(v[0]), float(v[1]), float(v[2]), float(v[3])});
        if (r.c.tables == Tables::ColorAndOpacity)
            for (const StreamValue& v : sampleStream(host->streams().at(kParamOpacity), r.n)) {
                const double o = v[0] * 0.01;
                r.opacities.push_back(float(0 > o ? 0 : (o > 1 ? 1 : o)));
            }
        if (r.c.repeat == kRepeatLoop) {
            if (!r.colors.empty()) r.colors.push_back(r.colors.front());
            if (!r.opacities.empty()) r.opacities.push_back(r.opacities.front());
        }
        r.constant.alpha = r.opacity;
        return r;
    }

    void setUpCase() {
        const Case c = GetParam();
        setPopup(kParamShape, c.shape);
        setPopup(kParamRepeat, c.repeat);
        setPoint(kParamPoint1, kP1x, kP1y);
        setPoint(kParamPoint2, kP2x, kP2y);
        setColor(255, 200, 100, 50);
        setOpacity(75);
        if (c.tables != Tables::Constant)
            for (int i = 0; i < 3; ++i) key(kParamColor, kColorKeyTimes[i], kColorKeys[i]);
        if (c.tables == Tables::ColorAndOpacity)
            for (int i = 0; i < 2; ++i) key(kParamOpacity, kOpacityKeyTimes[i], kOpacityKeys[i]);
    }
};

TEST_P(ReferenceFrame, EveryPixelMatchesThePlainEvaluationBitForBit) {
    setUpCase();
    const Reference r = reference();
    LayerSetup setup;
    setup.width = kWidth;
    setup.height = kHeight;
    setup.depth = r.c.depth;
    const Frame f = render(setup);
    ASSERT_EQ(f.width, kWidth);
    ASSERT_EQ(f.height, kHeight);
    int mismatches = 0;
    for (int y = 0; y < kHeight && mismatches < 5; ++y)
        for (int x = 0; x < kWidth && mismatches < 5; ++x) {
            const ::testing::AssertionResult same = matchesReference(f, r.c.depth, x, y, referencePixel(r, x, y));
            if (!same) {
                ++mismatches;
                ADD_FAILURE() << same.message();
            }
        }
    EXPECT_EQ(mismatches, 0);
}

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (int depth : {8, 16, 32})
        for (A_long shape : {kShapeLinear, kShapeRadial})
            for (A_long repeat : {kRepeatNone, kRepeatLoop, kRepeatPingpong})
                for (Tables tables : {Tables::Constant, Tables::Color, Tables::ColorAndOpacity})
                    cases.push_back(Case{depth, shape, repeat, tables});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    const Case& c = info.param;
    const std::string shape = popupChoiceName(kShapeChoices, c.shape), repeat = popupChoiceName(kRepeatChoices, c.repeat);
    static const char* const tables[] = {"Constant", "ColorTable", "BothTables"};
    return shape + repeat + tables[int(c.tables)] + std::to_string(c.depth) + "bit";
}

INSTANTIATE_TEST_SUITE_P(DiagonalRamp, ReferenceFrame, ::testing::ValuesIn(allCases()), caseName);

} // namespace

// The repeat modes' remainder takes a shortcut where the result is exact; everywhere it must be fmod's, bit
// for bit, signed zeros, far repeats, infinities and NaN included.
namespace {

std::uint64_t bitsOf(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

TEST(PeriodRemainder, EqualsFmodToTheBitAroundAndFarFromThePeriods) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double period : {3667.1, 1e-6, 1.0, 0.1, 7334.2, inf}) {
        const double special[] = {0.0, -0.0, period, -period, 2 * period, -2 * period, 3 * period,
                                  std::nextafter(period, 0.0), std::nextafter(2 * period, 0.0),
                                  std::nextafter(-period, 0.0), 0.3 * period, -0.7 * period, 1.5 * period,
                                  1e300, -1e300, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::denorm_min()};
        for (const double s : special) {
            const double want = std::fmod(s, period);
            const double got = Orvane::periodRemainder(s, period);
            if (std::isnan(want)) EXPECT_TRUE(std::isnan(got)) << s << " mod " << period;
            else EXPECT_EQ(bitsOf(got), bitsOf(want)) << s << " mod " << period;
        }
        for (int i = -20000; i <= 20000; ++i) {
            const double s = i * 0.37 + 0.001 * i * i / 7.0;
            EXPECT_EQ(bitsOf(Orvane::periodRemainder(s, period)), bitsOf(std::fmod(s, period))) << s;
        }
    }
}

} // namespace
