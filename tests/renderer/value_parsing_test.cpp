// The text forms of orvane-render's option values: what is accepted, what it means, and what is refused.
#include "Refusal.h"

#include "renderer/KeyframeEntries.h"
#include "renderer/ValueParsing.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

using namespace OrvaneTools;
using OrvaneToolsTest::refusal;

namespace {

TEST(Numbers, DecimalsAreStrict) {
    EXPECT_DOUBLE_EQ(parseDecimal("10.5", "x"), 10.5);
    EXPECT_DOUBLE_EQ(parseDecimal("-3", "x"), -3.0);
    EXPECT_DOUBLE_EQ(parseDecimal("+.25", "x"), 0.25);
    EXPECT_DOUBLE_EQ(parseDecimal("7.", "x"), 7.0);
    EXPECT_DOUBLE_EQ(parseDecimal("1e3", "x"), 1000.0);
    EXPECT_DOUBLE_EQ(parseDecimal("-2.5E-1", "x"), -0.25);
    for (const char* bad : {"", "-", ".", "nan", "inf", "e3", "1e", "1e+", ".e1", "0x10", "1,5", " 1", "1 ", "--1"})
        EXPECT_NE(refusal([&] { parseDecimal(bad, "--point1"); }), "") << bad;
    EXPECT_NE(refusal([] { parseDecimal("1" + std::string(400, '0'), "x"); }), "");
}

TEST(Numbers, WholeNumbersTakeDigitsOnly) {
    EXPECT_EQ(parseWholeNumber("0042", "x"), 42);
    for (const char* bad : {"", "-1", "+1", "1.0", "12a", "99999999999999999999999"})
        EXPECT_NE(refusal([&] { parseWholeNumber(bad, "x"); }), "") << bad;
}

TEST(Size, ReadsWidthAndHeight) {
    const FrameSize size = parseSize("640x360", "--size");
    EXPECT_EQ(size.width, 640);
    EXPECT_EQ(size.height, 360);
    EXPECT_EQ(parseSize("1X2", "--size").height, 2);
    EXPECT_EQ(parseSize("32767x1", "--size").width, 32767);
    EXPECT_EQ(parseSize("1x32767", "--size").height, 32767);
}

// A side beyond the farthest point the parameters hold (32767 pixels in 16.16) is refused with the limit.
TEST(Size, RefusesEmptyNegativeAndOversizedLayers) {
    for (const char* bad :
         {"0x10", "10x0", "-5x5", "32768x1", "1x32768", "65536x4", "10", "10x", "x10", "10x10x10", "axb"}) {
        const std::string message = refusal([&] { parseSize(bad, "--size"); });
        EXPECT_EQ(message, std::string("--size: expected WxH, two whole numbers from 1 to 32767 (a point, held in 16.16 "
                                       "fixed point, reaches at most 32767 pixels), got '") + bad + "'");
    }
}

TEST(Depth, OnlyTheThreeHostDepths) {
    EXPECT_EQ(parseDepth("8", "--depth"), 8);
    EXPECT_EQ(parseDepth("16", "--depth"), 16);
    EXPECT_EQ(parseDepth("32", "--depth"), 32);
    for (const char* bad : {"0", "4", "24", "08", "16.0", ""}) EXPECT_NE(refusal([&] { parseDepth(bad, "--depth"); }), "");
}

TEST(Downsample, OneFactorOrTwo) {
    const Downsample both = parseDownsample("2", "--downsample");
    EXPECT_EQ(both.x, 2);
    EXPECT_EQ(both.y, 2);
    const Downsample apart = parseDownsample("2x4", "--downsample");
    EXPECT_EQ(apart.x, 2);
    EXPECT_EQ(apart.y, 4);
    EXPECT_EQ(parseDownsample("32767x1", "--downsample").x, 32767);
    for (const char* bad : {"0", "2x0", "x2", "1.5", "-2", "", "32768", "1x65536"})
        EXPECT_NE(refusal([&] { parseDownsample(bad, "--downsample"); }), "") << bad;
}

TEST(Popups, ShapeAndRepeatNamesGiveTheEffectsItemNumbers) {
    EXPECT_EQ(parseShape("linear", "s"), Orvane::kShapeLinear);
    EXPECT_EQ(parseShape("Radial", "s"), Orvane::kShapeRadial);
    EXPECT_EQ(parseRepeat("none", "r"), Orvane::kRepeatNone);
    EXPECT_EQ(parseRepeat("loop", "r"), Orvane::kRepeatLoop);
    EXPECT_EQ(parseRepeat("PINGPONG", "r"), Orvane::kRepeatPingpong);
    EXPECT_NE(refusal([] { parseShape("square", "--shape"); }).find("linear or radial"), std::string::npos);
    EXPECT_NE(refusal([] { parseRepeat("mirror", "--repeat"); }).find("none, loop or pingpong"), std::string::npos);
}

TEST(Points, DecimalsWithinTheFixedPointRange) {
    const LayerPoint p = parsePoint("10.5,-20", "--point1");
    EXPECT_DOUBLE_EQ(p.x, 10.5);
    EXPECT_DOUBLE_EQ(p.y, -20.0);
    EXPECT_DOUBLE_EQ(parsePoint("32767,-32767", "--point1").x, 32767.0);
    for (const char* bad : {"10", "10,", ",10", "1,2,3", "32768,0", "0,-32768", "a,b"})
        EXPECT_NE(refusal([&] { parsePoint(bad, "--point2"); }).find("--point2"), std::string::npos) << bad;
}

TEST(Colors, HexWithAlphaLast) {
    const Rgba8 opaque = parseColor("#FF8001", "--color");
    EXPECT_EQ(opaque.red, 255);
    EXPECT_EQ(opaque.green, 128);
    EXPECT_EQ(opaque.blue, 1);
    EXPECT_EQ(opaque.alpha, 255);
    const Rgba8 clear = parseColor("#10203000", "--color");
    EXPECT_EQ(clear.red, 0x10);
    EXPECT_EQ(clear.green, 0x20);
    EXPECT_EQ(clear.blue, 0x30);
    EXPECT_EQ(clear.alpha, 0);
    for (const char* bad : {"FF8001", "#FF800", "#FF80011", "#GG0000", "#ff00ff0z", "", "#"})
        EXPECT_NE(refusal([&] { parseColor(bad, "--color"); }), "") << bad;
}

TEST(Opacity, PercentWithinTheParametersValidRange) {
    EXPECT_DOUBLE_EQ(parseOpacityPercent("-100", "o"), -100.0);
    EXPECT_DOUBLE_EQ(parseOpacityPercent("200", "o"), 200.0);
    EXPECT_DOUBLE_EQ(parseOpacityPercent("50.5", "o"), 50.5);
    EXPECT_NE(refusal([] { parseOpacityPercent("200.1", "--opacity"); }).find("-100 to 200"), std::string::npos);
    EXPECT_NE(refusal([] { parseOpacityPercent("-100.5", "--opacity"); }), "");
}

// ---- keyframe entries ------------------------------------------------------------------------------------

using OrvaneHost::Interpolation;
using OrvaneHost::KeyframeSide;

KeyframeSide side(Interpolation interpolation, double speed = 0, double influence = OrvaneHost::kEasyEaseInfluence) {
    return {interpolation, OrvaneHost::Ease{speed, influence}};
}
const KeyframeSide kLinear = side(Interpolation::Linear), kHold = side(Interpolation::Hold),
                   kEase = side(Interpolation::Bezier);

struct AcceptedEntry {
    const ControlForm* form;
    const char* text;
    std::optional<double> seconds;
    OrvaneHost::StreamValue value;
    KeyframeSide in, out;
    OrvaneHost::Tangent tangentIn, tangentOut;
};

bool sameSide(const KeyframeSide& a, const KeyframeSide& b) {
    if (a.interpolation != b.interpolation) return false;
    return a.interpolation != Interpolation::Bezier ||
           (a.ease.speed == b.ease.speed && a.ease.influence == b.ease.influence);
}

// Every form of an entry, for every control: a plain value, a keyframe, and each modifier; a popup's keyframe
// holds without saying so.
TEST(KeyframeEntries, EveryFormReadsAsItSays) {
    const AcceptedEntry accepted[] = {
        {&kColorForm, "#102030", std::nullopt, {1, 0x10 / 255.0, 0x20 / 255.0, 0x30 / 255.0}, kLinear, kLinear, {}, {}},
        {&kColorForm, "1.5:#0000ff", 1.5, {1, 0, 0, 1}, kLinear, kLinear, {}, {}},
        {&kColorForm, "1:#ff0000:hold", 1, {1, 1, 0, 0}, kHold, kHold, {}, {}},
        {&kOpacityForm, "0.5:40:ease", 0.5, {40, 0, 0, 0}, kEase, kEase, {}, {}},
        {&kOpacityForm, "0.5:40:linear", 0.5, {40, 0, 0, 0}, kLinear, kLinear, {}, {}},
        {&kOpacityForm, "2:10:in=hold:out=bezier", 2, {10, 0, 0, 0}, kHold, kEase, {}, {}},
        {&kOpacityForm, "2:10:ease_in=5,50:ease_out=-3,0.1", 2, {10, 0, 0, 0}, side(Interpolation::Bezier, 5, 0.5),
         side(Interpolation::Bezier, -3, 0.001), {}, {}},
        {&kOpacityForm, "2:10:ease:ease_out=0,100", 2, {10, 0, 0, 0}, kEase, side(Interpolation::Bezier, 0, 1), {}, {}},
        {&kOpacityForm, "2:10:in=bezier:ease_in=2,20", 2, {10, 0, 0, 0}, side(Interpolation::Bezier, 2, 0.2), kLinear,
         {}, {}},
        {&kPoint1Form, "1:300,50:tangent_in=-40,80:tangent_out=40.5,-80", 1, {300, 50, 0, 0}, kLinear, kLinear,
         {-40, 80}, {40.5, -80}},
        {&kPoint2Form, "0:100,50:ease_out=120,75", 0, {100, 50, 0, 0}, kLinear,
         side(Interpolation::Bezier, 120, 0.75), {}, {}},
        {&kPoint2Form, "-3.5,7", std::nullopt, {-3.5, 7, 0, 0}, kLinear, kLinear, {}, {}},
        {&kShapeForm, "0:radial", 0, {Orvane::kShapeRadial, 0, 0, 0}, kHold, kHold, {}, {}},
        {&kShapeForm, "2:Linear:hold", 2, {Orvane::kShapeLinear, 0, 0, 0}, kHold, kHold, {}, {}},
        {&kRepeatForm, "1:pingpong:out=hold", 1, {Orvane::kRepeatPingpong, 0, 0, 0}, kHold, kHold, {}, {}},
        {&kRepeatForm, "loop", std::nullopt, {Orvane::kRepeatLoop, 0, 0, 0}, kHold, kHold, {}, {}},
    };
    for (const AcceptedEntry& a : accepted) {
        SCOPED_TRACE(a.text);
        const ControlEntry e = parseControlEntries({a.text}, "--x", *a.form).at(0);
        EXPECT_EQ(e.place, 1u);
        EXPECT_EQ(e.seconds, a.seconds);
        EXPECT_EQ(e.value, a.value);
        if (!a.seconds) continue; // a plain value has no sides
        EXPECT_TRUE(sameSide(e.in, a.in));
        EXPECT_TRUE(sameSide(e.out, a.out));
        EXPECT_EQ(e.tangentIn.dx, a.tangentIn.dx);
        EXPECT_EQ(e.tangentIn.dy, a.tangentIn.dy);
        EXPECT_EQ(e.tangentOut.dx, a.tangentOut.dx);
        EXPECT_EQ(e.tangentOut.dy, a.tangentOut.dy);
    }
}

// A refusal names the option, the keyframe by its place and time, and the value refused; nothing else of
// the entry is kept.
TEST(KeyframeEntries, RefusalsNameTheOptionTheKeyframeAndTheValue) {
    struct Refused {
        const ControlForm* form;
        const char* what;
        std::vector<std::string> texts;
        std::vector<std::string> said;
    };
    const Refused refused[] = {
        {&kColorForm, "--color", {"1:#ff0000:wobble"}, {"--color: keyframe 1 at 1 s", "got 'wobble'"}},
        {&kOpacityForm, "--opacity", {"0:0", "0.5:40:ease_in=0,150"},
         {"--opacity: keyframe 2 at 0.5 s", "ease_in influence", "0.1 to 100", "got '150'"}},
        {&kOpacityForm, "--opacity", {"0.5:40:ease_out=0,0.05"}, {"keyframe 1 at 0.5 s", "got '0.05'"}},
        {&kOpacityForm, "--opacity", {"0.5:40:in=smooth"}, {"linear, hold or bezier", "got 'in=smooth'"}},
        {&kOpacityForm, "--opacity", {"1:50:ease_out=inf,50"}, {"ease_out speed", "got 'inf'"}},
        {&kOpacityForm, "--opacity", {"1:50:ease_out=1,nan"}, {"ease_out influence", "got 'nan'"}},
        {&kOpacityForm, "--opacity", {"1:50:ease_in=1"}, {"S,I", "got 'ease_in=1'"}},
        {&kOpacityForm, "--opacity", {"1:50:hold:ease_in=0,50"}, {"the in side", "got 'ease_in=0,50'"}},
        {&kOpacityForm, "--opacity", {"1:50:hold:hold"}, {"each modifier once", "got 'hold'"}},
        {&kOpacityForm, "--opacity", {"1:50:"}, {"keyframe 1 at 1 s", "got ''"}},
        {&kOpacityForm, "--opacity", {"1:250"}, {"keyframe 1 at 1 s", "-100 to 200", "got '250'"}},
        {&kColorForm, "--color", {"1:#000000:tangent_out=3,4"},
         {"only point1 and point2", "a colour", "got 'tangent_out=3,4'"}},
        {&kShapeForm, "--shape", {"0:linear", "2:radial:ease"}, {"keyframe 2 at 2 s", "always held", "got 'ease'"}},
        {&kRepeatForm, "--repeat", {"2:loop:ease_out=1,50"}, {"always held", "got 'ease_out=1,50'"}},
        {&kRepeatForm, "--repeat", {"2:loop:linear"}, {"always held", "got 'linear'"}},
        {&kPoint1Form, "--point1", {"1:5,5:tangent_in=1e400,0"}, {"tangent_in", "got '1e400,0'"}},
        {&kPoint1Form, "--point1", {"1:5,5:tangent_in=70000,0"}, {"-65534 to 65534", "got '70000,0'"}},
        {&kPoint2Form, "--point2", {"x:5,5"}, {"--point2: keyframe 1 ('x:5,5'), its time", "got 'x'"}},
        {&kPoint2Form, "--point2", {"-1:5,5"}, {"its time", "got '-1'"}},
    };
    for (const Refused& r : refused) {
        const std::string message = refusal([&] { parseControlEntries(r.texts, r.what, *r.form); });
        for (const std::string& part : r.said)
            EXPECT_NE(message.find(part), std::string::npos) << part << " in: " << message;
    }
}

TEST(Time, SecondsFpsAndFrames) {
    EXPECT_DOUBLE_EQ(parseSeconds("0", "t"), 0.0);
    EXPECT_DOUBLE_EQ(parseSeconds("17000", "t"), 17000.0);
    EXPECT_NE(refusal([] { parseSeconds("17000.5", "--time"); }), "");
    EXPECT_NE(refusal([] { parseSeconds("-0.5", "--time"); }), "");
    EXPECT_DOUBLE_EQ(parseFps("29.97", "f"), 29.97);
    EXPECT_NE(refusal([] { parseFps("0", "--fps"); }), "");
    EXPECT_NE(refusal([] { parseFps("120001", "--fps"); }), "");
    const FrameRange range = parseFrames("3-12", "--frames");
    EXPECT_EQ(range.first, 3);
    EXPECT_EQ(range.last, 12);
    EXPECT_EQ(parseFrames("5-5", "f").first, 5);
    for (const char* bad : {"5-3", "3", "-3", "3-", "a-b", "1-2-3", "1.5-2"})
        EXPECT_NE(refusal([&] { parseFrames(bad, "--frames"); }), "") << bad;
}

// A refusal says what was expected and repeats what was given, whatever the reason.
TEST(Refusals, RepeatTheValueGiven) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> cases = {
        {"32768,0", [](const std::string& t) { parsePoint(t, "--point1"); }},
        {"200.0001", [](const std::string& t) { parseOpacityPercent(t, "--opacity"); }},
        {"-1", [](const std::string& t) { parseSeconds(t, "--time"); }},
        {"0", [](const std::string& t) { parseFps(t, "--fps"); }},
        {"1025", [](const std::string& t) { parseThreads(t, "--threads"); }},
        {"12", [](const std::string& t) { parseDepth(t, "--depth"); }},
        {"0x2", [](const std::string& t) { parseDownsample(t, "--downsample"); }},
        {"5-3", [](const std::string& t) { parseFrames(t, "--frames"); }},
        {"1:250", [](const std::string& t) { parseControlEntries({t}, "--opacity", kOpacityForm); }},
        {"-1:#000000", [](const std::string& t) { parseControlEntries({t}, "--color", kColorForm); }},
        {"0", [](const std::string& t) { parseMemorySize(t, "--max-memory"); }},
    };
    for (const auto& [text, parse] : cases) {
        const std::string message = refusal([&, text = text] { parse(text); });
        EXPECT_NE(message.find(std::string("'") + text + "'"), std::string::npos) << message;
        EXPECT_NE(message.find("expected"), std::string::npos) << message;
    }
}

TEST(MemorySize, BytesWithUnitsOfPowersOf1024) {
    EXPECT_EQ(parseMemorySize("1073741824", "m"), 1073741824u);
    EXPECT_EQ(parseMemorySize("512M", "m"), 512u << 20);
    EXPECT_EQ(parseMemorySize("512MiB", "m"), 512u << 20);
    EXPECT_EQ(parseMemorySize("1.5g", "m"), 3u << 29);
    EXPECT_EQ(parseMemorySize("4GB", "m"), std::uint64_t(4) << 30);
    EXPECT_EQ(parseMemorySize("2T", "m"), std::uint64_t(2) << 40);
    // Numbers may carry an exponent, as the help says (and as a scene's JSON numbers do).
    EXPECT_EQ(parseMemorySize("1e9", "m"), 1000000000u);
    EXPECT_EQ(parseMemorySize("1e3M", "m"), std::uint64_t(1000) << 20);
    EXPECT_EQ(parseMemorySize("2.5E-1g", "m"), std::uint64_t(1) << 28);
    for (const char* bad : {"", "G", "-1G", "0", "0.5", "4X", "1eM", "1e+G", "4 G", "1.2.3M", "1e-400"})
        EXPECT_NE(refusal([&] { parseMemorySize(bad, "--max-memory"); }), "") << bad;
}

// Whole counts may be written as any number whose value is whole, exponents included, as in a scene.
TEST(Threads, OneToTheLimit) {
    EXPECT_EQ(parseThreads("1", "t"), 1);
    EXPECT_EQ(parseThreads("1024", "t"), 1024);
    EXPECT_EQ(parseThreads("1e1", "t"), 10);
    EXPECT_EQ(parseThreads("1.5E1", "t"), 15);
    EXPECT_EQ(parseThreads("8.0", "t"), 8);
    EXPECT_EQ(parseTimeScale("1e3", "s"), 1000u);
    EXPECT_EQ(parseTimeScale("1.2e5", "s"), 120000u);
    for (const char* bad : {"0", "1025", "-1", "two", "1.5", "1e-1", "1e400", "2e3"})
        EXPECT_EQ(refusal([&] { parseThreads(bad, "--threads"); }),
                  std::string("--threads: expected a thread count from 1 to 1024, got '") + bad + "'");
    EXPECT_NE(refusal([] { parseTimeScale("1.2e6", "--time-scale"); }).find("got '1.2e6'"), std::string::npos);
}

} // namespace
