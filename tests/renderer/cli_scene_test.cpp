// --scene: a ramp kept in a file renders exactly as the same flags do (every control animated too), flags
// given as well win, every option is a key, and a scene of many keyframes renders in good time.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace OrvaneToolsTest;

namespace {

const char* const kScene = R"({
  "size": "48x20", "depth": 16, "shape": "radial", "repeat": "pingpong",
  "point1": [6.5, 10], "point2": "30,4",
  "color": ["0:#203060", {"time": 0.75, "color": "#f0c040"}, "1.5:#ffffff80"],
  "opacity": [{"time": 0, "opacity": 100}, "1.5:40"],
  "time": 0.25, "fps": 25, "threads": 2, "press-refresh": true
})";

const std::vector<std::string> kSameFlags = {
    "--size", "48x20", "--depth", "16", "--shape", "radial", "--repeat", "pingpong", "--point1", "6.5,10",
    "--point2", "30,4", "--color", "0:#203060", "--color", "0.75:#f0c040", "--color", "1.5:#ffffff80",
    "--opacity", "0:100", "--opacity", "1.5:40", "--time", "0.25", "--fps", "25", "--threads", "2", "--press-refresh"};

// Every control animated, with each kind of keyframe side and a curved point path, as objects and as text.
const char* const kAnimatedScene = R"({
  "size": "48x20", "depth": 32, "fps": 25, "time": 0.6,
  "shape": ["0:radial", {"time": 0.5, "shape": "linear"}], "repeat": [{"time": 0, "repeat": "loop"}, "1:pingpong"],
  "point1": [{"time": 0, "point1": [6.5, 10], "tangent_out": [20, -15], "ease_out": {"speed": 10, "influence": 60}},
             {"time": 1, "point1": [40, 12], "tangent_in": [-5, 20], "in": "linear"}],
  "point2": ["0:30,4:hold", {"time": 1, "point2": [44, 18]}],
  "color": ["0:#203060:ease", {"time": 0.75, "color": "#f0c040", "in": "hold"}, "1.5:#ffffff80"],
  "opacity": [{"time": 0, "opacity": 100, "ease_out": {"speed": -50, "influence": 20}}, "1.5:40:ease_in=0,80"]
})";

const std::vector<std::string> kAnimatedFlags = {
    "--size", "48x20", "--depth", "32", "--fps", "25", "--time", "0.6", "--shape", "0:radial", "--shape",
    "0.5:linear", "--repeat", "0:loop", "--repeat", "1:pingpong", "--point1",
    "0:6.5,10:tangent_out=20,-15:ease_out=10,60", "--point1", "1:40,12:tangent_in=-5,20:in=linear", "--point2",
    "0:30,4:hold", "--point2", "1:44,18", "--color", "0:#203060:ease", "--color", "0.75:#f0c040:in=hold", "--color",
    "1.5:#ffffff80", "--opacity", "0:100:ease_out=-50,20", "--opacity", "1.5:40:ease_in=0,80"};

struct SceneAndFlags {
    const char* name;
    const char* scene;
    const std::vector<std::string>* flags;
};
void PrintTo(const SceneAndFlags& c, std::ostream* out) { *out << c.name; }

struct SceneAsFlags : ::testing::TestWithParam<SceneAndFlags> {};

TEST_P(SceneAsFlags, RendersExactlyAsTheSameFlags) {
    ScratchFolder folder;
    folder.write("ramp.json", GetParam().scene);
    const ToolResult fromScene = runRender({"--scene", folder.path("ramp.json"), "-o", folder.path("scene.pfm")});
    ASSERT_EQ(fromScene.exitCode, 0) << fromScene.err;
    std::vector<std::string> flags = *GetParam().flags;
    flags.insert(flags.end(), {"-o", folder.path("flags.pfm")});
    const ToolResult fromFlags = runRender(flags);
    ASSERT_EQ(fromFlags.exitCode, 0) << fromFlags.err;
    EXPECT_EQ(fileBytes(folder.path("scene.pfm")), fileBytes(folder.path("flags.pfm")));
}

INSTANTIATE_TEST_SUITE_P(Scene, SceneAsFlags,
                         ::testing::Values(SceneAndFlags{"Keyframed", kScene, &kSameFlags},
                                           SceneAndFlags{"EveryControlAnimated", kAnimatedScene, &kAnimatedFlags}),
                         [](const ::testing::TestParamInfo<SceneAndFlags>& info) { return info.param.name; });

TEST(Scene, KeepsTheDepthItGives) {
    ScratchFolder folder;
    folder.write("ramp.json", kScene);
    ASSERT_EQ(runRender({"--scene", folder.path("ramp.json"), "-o", folder.path("scene.pam")}).exitCode, 0);
    EXPECT_EQ(readPam(folder.path("scene.pam")).maxval, 32768);
}

TEST(Scene, FlagsGivenAsWellOverrideIt) {
    ScratchFolder folder;
    folder.write("ramp.json", kScene);
    const ToolResult run = runRender({"--scene", folder.path("ramp.json"), "--depth", "8", "--size", "10x10", "--color",
                                      "#00ff00", "-o", folder.path("o.pam")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PamImage image = readPam(folder.path("o.pam"));
    EXPECT_EQ(image.maxval, 255);
    EXPECT_EQ(image.width, 10);
    // The flag's plain colour replaces the scene's colour keyframes, while its opacity keyframes (100 % at
    // Point 1 to 40 % at Point 2) still shade a pixel part-way along: 10.01 of 24.25 pixels out, 75.2 %.
    EXPECT_EQ(image.pixel(6, 0), (std::array<std::uint16_t, 4>{0, 255, 0, 192}));
}

TEST(Scene, MayNameItsOutputAndSequence) {
    ScratchFolder folder;
    folder.write("seq.json", std::string(R"({"size": "4x4", "frames": "1-3", "output": ")") + folder.path("s-#.png") +
                                 "\"}");
    const ToolResult run = runRender({"--scene", folder.path("seq.json")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"s-1.png", "s-2.png", "s-3.png", "seq.json"}));
}

// Keys of the command line's flags too, and an output named relative to the current folder, not to the
// scene's.
TEST(Scene, FlagsAreKeysAndOutputIsRelativeToTheCurrentFolder) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path("scenes"));
    folder.write("scenes/s.json", R"({"size": "4x4", "verbose": true, "output": "here.pam"})");
    RunOptions inFolder;
    inFolder.workingFolder = folder.path("");
    const ToolResult run = runRender({"--scene", folder.path("scenes/s.json")}, inFolder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("registration:"), std::string::npos) << run.out;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"here.pam", "scenes"}));
}

// Keyframes reach the host all at once, sorted in O(n log n): 600,000 of them, given latest first, render in
// seconds (inserted one by one they took minutes), with the earliest at Point 1.
TEST(Scene, HundredsOfThousandsOfKeyframes) {
    constexpr int kKeyframes = 600000;
    std::string colors;
    colors.reserve(kKeyframes * 24);
    for (int k = kKeyframes - 1; k >= 0; --k) {
        char entry[40];
        const char* color = k == 0 ? "#0000ff" : k == kKeyframes - 1 ? "#ff0000" : "#808080";
        std::snprintf(entry, sizeof(entry), "%s\"%.7f:%s\"", colors.empty() ? "" : ",", k / 120000.0, color);
        colors += entry;
    }
    ScratchFolder folder;
    folder.write("many.json", R"({"size": "8x2", "point1": "0,1", "point2": "7,1", "color": [)" + colors + "]}");
    RunOptions bounded;
    bounded.timeoutSeconds = 60;
    const ToolResult run = runRender({"--scene", folder.path("many.json"), "-o", folder.path("many.pam")}, bounded);
    ASSERT_FALSE(run.timedOut);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PamImage image = readPam(folder.path("many.pam"));
    EXPECT_EQ(image.at(0, 0, 2), 255); // blue, the keyframe at 0 s
    EXPECT_EQ(image.at(7, 0, 0), 255); // red, the last one
}

} // namespace
