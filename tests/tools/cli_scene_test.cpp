// --scene: a ramp kept in a file renders exactly as the same flags do, and flags given as well win.
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

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

TEST(Scene, RendersExactlyAsTheSameFlags) {
    ScratchFolder folder;
    folder.write("ramp.json", kScene);
    const ToolResult fromScene = runRender({"--scene", folder.path("ramp.json"), "-o", folder.path("scene.pam")});
    ASSERT_EQ(fromScene.exitCode, 0) << fromScene.err;
    std::vector<std::string> flags = kSameFlags;
    flags.insert(flags.end(), {"-o", folder.path("flags.pam")});
    const ToolResult fromFlags = runRender(flags);
    ASSERT_EQ(fromFlags.exitCode, 0) << fromFlags.err;
    const std::string sceneBytes = fileBytes(folder.path("scene.pam"));
    EXPECT_EQ(readPam(folder.path("scene.pam")).maxval, 32768);
    EXPECT_EQ(sceneBytes, fileBytes(folder.path("flags.pam")));
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
    // Point 1 to 40 % at Point 2) still shade a pixel part-way along.
    EXPECT_EQ(image.at(6, 0, 0), 0);
    EXPECT_EQ(image.at(6, 0, 1), 255);
    EXPECT_EQ(image.at(6, 0, 2), 0);
    EXPECT_GT(image.at(6, 0, 3), 102);
    EXPECT_LT(image.at(6, 0, 3), 255);
}

TEST(Scene, MayNameItsOutputAndSequence) {
    ScratchFolder folder;
    folder.write("seq.json", std::string(R"({"size": "4x4", "frames": "1-3", "output": ")") + folder.path("s-#.png") +
                                 "\"}");
    const ToolResult run = runRender({"--scene", folder.path("seq.json")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"s-1.png", "s-2.png", "s-3.png", "seq.json"}));
}

} // namespace
