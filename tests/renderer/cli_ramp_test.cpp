// Keyframed ramps through the binary: the ends of the ramp, its geometry under downsampling, shapes and
// repeat modes, sequences, and what --verbose tells. Red (#ff0000) keyed at 0 s and blue (#0000ff) at 1 s
// put red at Point 1 and blue at Point 2; pixels are read as R, G, B, A.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <set>
#include <string>

using namespace OrvaneToolsTest;

namespace {

using Rgba = std::array<std::uint16_t, 4>;
const Rgba kRed{255, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};

std::vector<std::string> redToBlue(std::vector<std::string> args) {
    args.insert(args.end(), {"--color", "0:#ff0000", "--color", "1:#0000ff"});
    return args;
}

PamImage render(const ScratchFolder& folder, const std::vector<std::string>& args, const std::string& name = "r.pam") {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"-o", folder.path(name)});
    const ToolResult run = runRender(all);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return readPam(folder.path(name));
}

TEST(KeyframedRamp, EndPixelsAreTheFirstAndLastKeyframeColours) {
    ScratchFolder folder;
    const PamImage image = render(folder, {"--size", "64x4", "--point1", "0,2", "--point2", "63,2", "--color",
                                           "0:#ff0000", "--color", "0.5:#00ff00", "--color", "2:#0000ff"});
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(image.pixel(0, y), kRed) << y;
        EXPECT_EQ(image.pixel(63, y), kBlue) << y;
    }
    // Green passes through in between: the green keyframe sits a quarter of the way along.
    EXPECT_GT(image.at(16, 0, 1), 200);
}

TEST(KeyframedRamp, OpacityKeyframesBecomeTheAlphaRamp) {
    ScratchFolder folder;
    // 150 % is held to full alpha, -20 % to none.
    const PamImage image = render(folder, {"--size", "8x1", "--point1", "0,0", "--point2", "7,0", "--opacity", "0:150",
                                           "--opacity", "1:-20"});
    EXPECT_EQ(image.pixel(0, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(image.pixel(7, 0), (Rgba{255, 255, 255, 0}));
}

// A host that counts 24 units per second renders the ramp of keyframes on whole 1/24 s as one counting
// 120000: the effect samples coarse keyframe times on a finer base.
TEST(KeyframedRamp, TheSameAtTwentyFourUnitsPerSecond) {
    ScratchFolder folder;
    const std::vector<std::string> ramp = redToBlue({"--size", "200x2", "--point1", "0,1", "--point2", "199,1", "--depth",
                                                     "16", "--color", "0.5:#00ff00"});
    std::vector<std::string> coarse = ramp;
    coarse.insert(coarse.end(), {"--time-scale", "24"});
    EXPECT_EQ(render(folder, ramp, "fine.pam").samples, render(folder, coarse, "coarse.pam").samples);
}

TEST(Downsample, HalvesTheBufferAndTheGeometry) {
    ScratchFolder folder;
    const std::vector<std::string> ramp = redToBlue({"--size", "64x4", "--point1", "0,2", "--point2", "62,2"});
    const PamImage full = render(folder, ramp, "full.pam");
    std::vector<std::string> halfArgs = ramp;
    halfArgs.insert(halfArgs.end(), {"--downsample", "2"});
    const PamImage half = render(folder, halfArgs, "half.pam");
    EXPECT_EQ(half.width, 32);
    EXPECT_EQ(half.height, 2);
    // Point 2 lands on pixel 62 at full resolution and on pixel 31 at half.
    EXPECT_EQ(full.pixel(62, 0), kBlue);
    EXPECT_EQ(half.pixel(31, 1), kBlue);
    EXPECT_NE(full.pixel(31, 0), kBlue);
    // Half-way pixels: red 1 - 16/31 = 15/31 of 255 is 123.4, blue 16/31 is 131.6, at both resolutions.
    EXPECT_EQ(half.pixel(16, 0), (Rgba{123, 0, 132, 255}));
    EXPECT_EQ(full.pixel(32, 0), (Rgba{123, 0, 132, 255}));
}

TEST(Downsample, FactorsApartRoundTheBufferUp) {
    ScratchFolder folder;
    const PamImage apart = render(folder, {"--size", "64x8", "--downsample", "2x4"}, "a.pam");
    EXPECT_EQ(apart.width, 32);
    EXPECT_EQ(apart.height, 2);
    const PamImage thirds = render(folder, {"--size", "64x4", "--downsample", "3"}, "b.pam");
    EXPECT_EQ(thirds.width, 22); // ceil(64 / 3)
    EXPECT_EQ(thirds.height, 2);  // ceil(4 / 3)
}

TEST(Shapes, RadialMeasuresDistanceFromPointOne) {
    ScratchFolder folder;
    const std::vector<std::string> geometry = {"--size", "17x17", "--point1", "0,0", "--point2", "16,0"};
    std::vector<std::string> radialArgs = redToBlue(geometry);
    radialArgs.insert(radialArgs.end(), {"--shape", "radial"});
    const PamImage radial = render(folder, radialArgs, "radial.pam");
    const PamImage linear = render(folder, redToBlue(geometry), "linear.pam");
    EXPECT_EQ(radial.pixel(0, 0), kRed);
    EXPECT_EQ(radial.pixel(0, 16), kBlue); // 16 pixels from Point 1, straight down
    EXPECT_EQ(radial.pixel(16, 16), kBlue);
    EXPECT_EQ(linear.pixel(0, 16), kRed); // on the perpendicular through Point 1
}

TEST(RepeatModes, PingpongRunsBackAndLoopStartsAgain) {
    ScratchFolder folder;
    const std::vector<std::string> geometry = redToBlue({"--size", "64x1", "--point1", "0,0", "--point2", "16,0"});
    std::vector<std::string> pingpong = geometry, loop = geometry;
    pingpong.insert(pingpong.end(), {"--repeat", "pingpong"});
    loop.insert(loop.end(), {"--repeat", "loop"});
    const PamImage none = render(folder, geometry, "none.pam");
    const PamImage back = render(folder, pingpong, "pingpong.pam");
    const PamImage again = render(folder, loop, "loop.pam");
    EXPECT_EQ(none.pixel(32, 0), kBlue);
    EXPECT_EQ(back.pixel(16, 0), kBlue);
    EXPECT_EQ(back.pixel(32, 0), kRed);
    EXPECT_EQ(back.pixel(48, 0), kBlue);
    EXPECT_EQ(again.pixel(16, 0), kRed);
    EXPECT_EQ(again.pixel(32, 0), kRed);
}

TEST(Sequences, FramesAreNumberedAndCounted) {
    ScratchFolder folder;
    const ToolResult run = runRender({"--size", "4x2", "--frames", "3-5", "-v", "-o", folder.path("f-##.pam")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"f-03.pam", "f-04.pam", "f-05.pam"}));
    EXPECT_NE(run.out.find("frame 4 at time 16000/120000"), std::string::npos) << run.out; // 4 / 30 s
    EXPECT_EQ(run.err, ""); // no progress when stderr is not a terminal

    const ToolResult wide = runRender({"--size", "4x2", "--frames", "9-10", "--fps", "24", "-o", folder.path("g-#.pam")});
    ASSERT_EQ(wide.exitCode, 0) << wide.err;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"f-03.pam", "f-04.pam", "f-05.pam", "g-10.pam", "g-9.pam"}));
}

TEST(Verbose, ShowsRegistrationControlsAndFrameFacts) {
    ScratchFolder folder;
    const ToolResult run = runRender(redToBlue({"--size", "64x4", "--point1", "10.5,2", "--point2", "63,2", "--shape",
                                                "radial", "--repeat", "pingpong", "--time", "0.5", "-v", "-o",
                                                folder.path("v.pam")}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* expected :
         {"OrvaneVelmorathquist, v1.0.0", "version 0x00080601", "PF_OutFlag2_SUPPORTS_SMART_RENDER", "\"Shape\"",
          "\"Opacity\"", "\"Refresh\"", "frame 0 at time 60000/120000",
          "checked out: \"Shape\" 2 \"Radial\", \"Point 1\" (10.5, 2) px, \"Point 2\" (63, 2) px, "
          "\"Repeat\" 3 \"Pingpong\", \"Color\" ARGB 255 128 0 128, \"Opacity\" 100.0 %",
          // red to blue, half-way at 0.5 s: 127.5 rounds to 128; ramp length 52.5 gives 53 samples of the keyframed colour, none of the constant opacity
          "stream-value requests: 53 (\"Color\" 53)", "render time:"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
}

TEST(Verbose, RefreshPressShowsTheCounterAndTheRerender) {
    ScratchFolder folder;
    const ToolResult run = runRender({"--size", "4x2", "--press-refresh", "-v", "-o", folder.path("r.pam")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Refresh pressed: refresh counter 1, renders forced 1"), std::string::npos) << run.out;
    const ToolResult quiet = runRender({"--size", "4x2", "--press-refresh", "-o", folder.path("q.pam")});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "");
}

TEST(Threads, AnyCountGivesTheSameFrame) {
    ScratchFolder folder;
    const std::vector<std::string> ramp = redToBlue({"--size", "40x30", "--shape", "radial", "--point1", "5,5",
                                                     "--point2", "30,20", "--repeat", "loop", "--depth", "16"});
    std::vector<std::string> one = ramp, three = ramp;
    one.insert(one.end(), {"--threads", "1", "-o", folder.path("1.pam")});
    three.insert(three.end(), {"--threads", "3", "-o", folder.path("3.pam")});
    ASSERT_EQ(runRender(one).exitCode, 0);
    ASSERT_EQ(runRender(three).exitCode, 0);
    EXPECT_EQ(fileBytes(folder.path("1.pam")), fileBytes(folder.path("3.pam")));
}

TEST(Module, NamedExplicitlyOrFoundBesideTheBinary) {
    ScratchFolder folder;
    ASSERT_EQ(runRender({"--size", "2x2", "--module", ORVANE_MODULE_PATH, "-o", folder.path("a.pam")}).exitCode, 0);
    ASSERT_EQ(runRender({"--size", "2x2", "-o", folder.path("b.pam")}).exitCode, 0);
    EXPECT_EQ(fileBytes(folder.path("a.pam")), fileBytes(folder.path("b.pam")));
}

// ---- animated controls ------------------------------------------------------------------------------------

// What --verbose says each frame checked out for one control: frame number -> the value's text.
std::map<long, std::string> checkedOutPerFrame(const std::string& out, const std::string& control) {
    std::map<long, std::string> values;
    const std::regex frame("frame (\\d+) at time[^\\n]*\\n  checked out: [^\\n]*\"" + control +
                           "\" ([^\\n]*?)(, \"|\\n)");
    for (std::sregex_iterator it(out.begin(), out.end(), frame), end; it != end; ++it)
        values[std::stol((*it)[1])] = (*it)[2];
    return values;
}

// A popup keyframe switches the value on the first frame whose time reaches it, whatever the frame rate and
// wherever the keyframe falls between frames.
TEST(AnimatedControls, APopupSwitchesOnTheFrameWhoseTimeReachesItsKeyframe) {
    struct Switch {
        const char* option;
        const char* key;    // the keyframe that switches
        const char* fps;
        long first, last;   // the frames rendered
        long switchFrame;
        const char* before;
        const char* after;
    };
    const Switch switches[] = {
        {"--shape", "1:radial", "30", 28, 31, 30, "1 \"Linear\"", "2 \"Radial\""},
        {"--shape", "0.51:radial", "30", 14, 17, 16, "1 \"Linear\"", "2 \"Radial\""}, // between 0.5 and 0.533 s
        {"--shape", "0.5:radial", "24", 10, 13, 12, "1 \"Linear\"", "2 \"Radial\""},
        {"--repeat", "0.4:pingpong", "25", 8, 11, 10, "1 \"None\"", "3 \"Pingpong\""},
    };
    const std::map<std::string, std::string> first = {{"--shape", "0:linear"}, {"--repeat", "0:none"}};
    const std::map<std::string, std::string> control = {{"--shape", "Shape"}, {"--repeat", "Repeat"}};
    for (const Switch& s : switches) {
        SCOPED_TRACE(std::string(s.option) + " " + s.key + " at " + s.fps + " fps");
        ScratchFolder folder;
        const std::string frames = std::to_string(s.first) + "-" + std::to_string(s.last);
        const ToolResult run = runRender({"--size", "8x4", s.option, first.at(s.option), s.option, s.key, "--fps",
                                          s.fps, "--frames", frames, "-v", "-o", folder.path("f-##.pam")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto values = checkedOutPerFrame(run.out, control.at(s.option));
        ASSERT_EQ(values.size(), std::size_t(s.last - s.first + 1)) << run.out;
        for (const auto& [frame, value] : values) EXPECT_EQ(value, frame < s.switchFrame ? s.before : s.after) << frame;
    }
}

// A point keyed on a symmetric arch from (0, 0) to (200, 0), handles (50, 100) and (150, 100), moves along
// it: at mid-time it is at the curve's middle, (100, 75), and the frames differ as it goes; an eased point
// on a straight path is half way at mid-time.
TEST(AnimatedControls, APointMovesAlongItsCurvedPathFrameByFrame) {
    ScratchFolder folder;
    const ToolResult run = runRender({"--size", "208x80", "--shape", "radial", "--point1", "0:0,0:tangent_out=50,100",
                                      "--point1", "2:200,0:tangent_in=-50,100", "--point2", "0:8,2:ease",
                                      "--point2", "2:208,2:ease", "--color", "0:#ff0000", "--color", "1:#0000ff",
                                      "--frames", "0-60", "-v", "-o", folder.path("p-##.pam")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto point1 = checkedOutPerFrame(run.out, "Point 1"), point2 = checkedOutPerFrame(run.out, "Point 2");
    EXPECT_EQ(point1.at(0), "(0, 0) px");
    EXPECT_EQ(point1.at(30), "(100, 75) px");
    EXPECT_EQ(point1.at(60), "(200, 0) px");
    EXPECT_EQ(point2.at(30), "(108, 2) px") << "the easy ease is half way at mid-time";
    EXPECT_NE(fileBytes(folder.path("p-10.pam")), fileBytes(folder.path("p-11.pam")));
}

// Keyframes that say "linear" on both sides, in text or as object fields, are the keyframes that say nothing:
// the frames are byte for byte the same.
TEST(AnimatedControls, KeyframesThatSayLinearRenderAsThoseThatSayNothing) {
    ScratchFolder folder;
    folder.write("linear.json", R"({"size": "40x6",
        "point1": [{"time": 0, "point1": [2, 3], "in": "linear", "out": "linear"},
                   {"time": 1, "point1": [12, 1], "in": "linear"}],
        "point2": "30,3", "color": ["0:#ff0000:linear", "1:#00ff80:linear"],
        "opacity": [{"time": 0, "opacity": 20, "out": "linear"}, "1:90:linear"]})");
    const ToolResult scene =
        runRender({"--scene", folder.path("linear.json"), "--time", "0.3", "-o", folder.path("a.pam")});
    ASSERT_EQ(scene.exitCode, 0) << scene.err;
    const ToolResult plain =
        runRender({"--size", "40x6", "--point1", "0:2,3", "--point1", "1:12,1", "--point2", "30,3", "--color",
                   "0:#ff0000", "--color", "1:#00ff80", "--opacity", "0:20", "--opacity", "1:90", "--time", "0.3",
                   "-o", folder.path("b.pam")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(fileBytes(folder.path("a.pam")), fileBytes(folder.path("b.pam")));
}

// The help names every option, and the README's section on the renderer names each of them and no other.
TEST(Help, DocumentsEveryOptionAsTheReadmeDoes) {
    const ToolResult run = runRender({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"-o,--output", "--format", "--module", "--scene", "--size", "--depth", "--downsample",
                               "--shape", "--repeat", "--point1", "--point2", "--color", "--opacity", "--time", "--fps",
                               "--frames", "--threads", "--press-refresh", "--verbose", "--force", "--skip-existing",
                               "--max-memory", "--version", "inspect", ".png", ".exr", ".pam", ".pfm", "ORVANE_MODULE",
                               "Exit codes"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;

    const auto optionsNamedIn = [](const std::string& text) {
        const std::regex option("--[a-z][a-z0-9-]*[a-z0-9]");
        std::set<std::string> names;
        for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) names.insert(it->str());
        return names;
    };
    const std::string readme = fileBytes(ORVANE_SOURCE_DIR "/README.md");
    const std::size_t start = readme.find("## Rendering with orvane-render");
    ASSERT_NE(start, std::string::npos);
    const std::string section = readme.substr(start, readme.find("\n## ", start + 1) - start);
    EXPECT_EQ(optionsNamedIn(section), optionsNamedIn(run.out));
}

} // namespace
