// Scene files, merging them with the command line, and resolving the settings into a job.
#include "Refusal.h"

#include "renderer/CommandLine.h"
#include "renderer/FrameNaming.h"
#include "renderer/ImageFormat.h"
#include "renderer/RenderJob.h"
#include "renderer/SceneFile.h"
#include "renderer/SettingOptions.h"

#include <gtest/gtest.h>

#include <vector>

using namespace OrvaneTools;
using OrvaneToolsTest::refusal;

namespace {

CommandLine parse(std::vector<std::string> args) {
    std::vector<const char*> argv = {"orvane-render"};
    for (const auto& a : args) argv.push_back(a.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(SceneFile, ReadsTextAndJsonForms) {
    const RenderSettings s = parseScene(R"({
        "size": [640, 360], "depth": 16, "downsample": "2x4", "shape": "radial", "repeat": "pingpong",
        "point1": "10.5,20", "point2": [600, 180.25],
        "color": ["0:#ff0000", {"time": 2, "color": "#0000ff80"}],
        "opacity": [{"time": 0, "opacity": 150}, "1:-20"],
        "fps": 24, "frames": [0, 12], "threads": 3, "press-refresh": true, "output": "ramp-##.png",
        "verbose": true, "force": false, "max-memory": "2G"})",
                                        "scene");
    EXPECT_EQ(s.size->width, 640);
    EXPECT_EQ(s.size->height, 360);
    EXPECT_EQ(*s.depth, 16);
    EXPECT_EQ(s.downsample->x, 2);
    EXPECT_EQ(s.downsample->y, 4);
    EXPECT_EQ(*s.shape, Orvane::kShapeRadial);
    EXPECT_EQ(*s.repeat, Orvane::kRepeatPingpong);
    EXPECT_DOUBLE_EQ(s.point1->x, 10.5);
    EXPECT_DOUBLE_EQ(s.point2->y, 180.25);
    ASSERT_EQ(s.colors->size(), 2u);
    EXPECT_DOUBLE_EQ(*(*s.colors)[1].seconds, 2.0);
    EXPECT_EQ((*s.colors)[1].color.alpha, 0x80);
    ASSERT_EQ(s.opacities->size(), 2u);
    EXPECT_DOUBLE_EQ((*s.opacities)[0].percent, 150.0);
    EXPECT_DOUBLE_EQ((*s.opacities)[1].percent, -20.0);
    EXPECT_DOUBLE_EQ(*s.fps, 24.0);
    EXPECT_EQ(s.frames->last, 12);
    EXPECT_EQ(*s.threads, 3);
    EXPECT_TRUE(*s.pressRefresh);
    EXPECT_EQ(*s.output, "ramp-##.png");
    EXPECT_TRUE(*s.verbose);
    EXPECT_FALSE(*s.force);
    EXPECT_EQ(*s.maxMemory, std::uint64_t(2) << 30);
    EXPECT_EQ(s.sources.at("size"), "scene: \"size\"");
}

// A scene value is read as the option's text is: a JSON number stands for the number (16.0 is 16), and the
// text form is taken for every key.
TEST(SceneFile, TakesTheSameValuesAsTheCommandLine) {
    const RenderSettings s = parseScene(R"({"depth": 16.0, "threads": "3", "fps": "24", "time": 1e1,
                                            "downsample": [2.0, 3], "size": "640x360", "point1": [1e2, -5.5],
                                            "opacity": [{"time": "1", "opacity": "20"}, "2:30.5"]})",
                                        "s");
    EXPECT_EQ(*s.depth, 16);
    EXPECT_EQ(*s.threads, 3);
    EXPECT_DOUBLE_EQ(*s.fps, 24.0);
    EXPECT_DOUBLE_EQ(*s.seconds, 10.0);
    EXPECT_EQ(s.downsample->y, 3);
    EXPECT_DOUBLE_EQ(s.point1->x, 100.0);
    EXPECT_DOUBLE_EQ(s.point1->y, -5.5);
    EXPECT_DOUBLE_EQ((*s.opacities)[0].percent, 20.0);
    EXPECT_DOUBLE_EQ(*(*s.opacities)[1].seconds, 2.0);
    // ... and refuses what the command line refuses, repeating the value.
    EXPECT_NE(refusal([] { parseScene(R"({"depth": 16.5})", "s"); }).find("got '16.5'"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"threads": "0"})", "s"); }).find("got '0'"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"opacity": 200.0001})", "s"); }).find("got '200.0001'"), std::string::npos);
}

// Every option of the command line but --help and --scene is a scene key too, known to the scene reader.
TEST(SceneFile, KeysAreTheLongOptionNamesAllOfThem) {
    for (const std::string& name : longOptionNames()) {
        if (name == "help" || name == "scene" || name == "version") continue;
        const SettingOption* option = findSettingOption(name);
        ASSERT_NE(option, nullptr) << "--" << name << " has no scene key";
        const std::string message = refusal([&] { parseScene("{\"" + name + "\": {}}", "s"); });
        EXPECT_EQ(message.find("unknown setting"), std::string::npos) << message;
        EXPECT_NE(message.find("s: \"" + name + "\""), std::string::npos) << message;
    }
}

// A scene is data that people pass around: it may not name a module, whose loading runs its code.
TEST(SceneFile, CannotNameTheModuleNorAnotherScene) {
    EXPECT_NE(refusal([] { parseScene(R"({"module": "effect.so"})", "s"); }).find("cannot name the effect module"),
              std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"scene": "other.json"})", "s"); }).find("another scene"), std::string::npos);
}

TEST(SceneFile, AKeyGivenTwiceIsAnError) {
    EXPECT_NE(refusal([] { parseScene(R"({"fps": 24, "size": "4x4", "fps": 25})", "s"); })
                  .find("s: the key \"fps\" is given twice"),
              std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"color": [{"time": 1, "color": "#000000", "time": 2}]})", "s"); })
                  .find("\"time\" is given twice"),
              std::string::npos);
    EXPECT_NO_THROW(parseScene(R"({"color": [{"time": 1, "color": "#000000"}, {"time": 2, "color": "#ffffff"}]})", "s"));
}

// Refused as the text is read, with the value shortened: nesting deeper than any scene needs (a value 300,000
// deep once crashed the renderer while it printed it whole), and a number a double cannot tell from 0.
TEST(SceneFile, RefusesWhatCannotBeHeldAsItIsRead) {
    const std::string deep = R"({"fps": 24, "color": )" + std::string(300000, '[') + std::string(300000, ']') + "}";
    const std::string message = refusal([&] { parseScene(deep, "s"); });
    EXPECT_EQ(message.rfind("s: \"color\": values are nested more than " + std::to_string(kMaxSceneDepth) + " deep: [[[", 0),
              0u)
        << message;
    EXPECT_LT(message.size(), 150u) << message;
    // The scene's object is the first level.
    const auto nested = [](std::size_t arrays) {
        return R"({"size": )" + std::string(arrays, '[') + std::string(arrays, ']') + "}";
    };
    EXPECT_EQ(refusal([&] { parseScene(nested(kMaxSceneDepth - 1), "s"); }).find("nested"), std::string::npos);
    EXPECT_NE(refusal([&] { parseScene(nested(kMaxSceneDepth), "s"); }).find("nested more than"), std::string::npos);
    for (const char* tiny : {"1e-400", "-0.5e-330", "12.5E-999"})
        EXPECT_EQ(refusal([&] { parseScene(std::string(R"({"time": )") + tiny + "}", "s"); }),
                  std::string("s: \"time\": the number ") + tiny + " is too small to hold (it would be read as 0)");
    EXPECT_DOUBLE_EQ(*parseScene(R"({"time": 0e-400})", "s").seconds, 0.0); // written as 0
}

// A scene of many keyframe objects is read whole, each in its place (read in one pass: 300,000 of them once
// took half a minute).
TEST(SceneFile, ReadsAWholeSceneOfKeyframeObjects) {
    constexpr int kKeyframes = 100000;
    std::string text = R"({"opacity": [)";
    for (int i = 0; i < kKeyframes; ++i)
        text += (i ? "," : "") + std::string(R"({"time": )") + std::to_string(i) + R"(e-2, "opacity": )" +
                std::to_string(i % 200) + "}";
    const RenderSettings s = parseScene(text + "]}", "s");
    ASSERT_EQ(s.opacities->size(), std::size_t(kKeyframes));
    for (int i : {0, 1, 12345, kKeyframes - 1}) {
        EXPECT_DOUBLE_EQ(*(*s.opacities)[std::size_t(i)].seconds, i / 100.0) << i;
        EXPECT_DOUBLE_EQ((*s.opacities)[std::size_t(i)].percent, i % 200) << i;
    }
}

TEST(SceneFile, AFileNameHoldsNoNul) {
    const std::string message = refusal([] { parseScene(R"({"output": "notes.txt\u0000.png"})", "s"); });
    EXPECT_NE(message.find("s: \"output\": a file name cannot hold a NUL character"), std::string::npos) << message;
}

TEST(SceneFile, PlainValuesAreConstants) {
    const RenderSettings s = parseScene(R"({"color": "#102030", "opacity": 50, "time": 1.5, "downsample": 2})", "scene");
    ASSERT_EQ(s.colors->size(), 1u);
    EXPECT_FALSE((*s.colors)[0].seconds.has_value());
    EXPECT_FALSE((*s.opacities)[0].seconds.has_value());
    EXPECT_DOUBLE_EQ((*s.opacities)[0].percent, 50.0);
    EXPECT_DOUBLE_EQ(*s.seconds, 1.5);
    EXPECT_EQ(s.downsample->y, 2);
}

TEST(SceneFile, NamesWhatIsWrong) {
    EXPECT_NE(refusal([] { parseScene("{", "scene a.json"); }).find("not valid JSON: parse error"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"fps": 1e400})", "scene a.json"); }).find("a number is too large"),
              std::string::npos);
    EXPECT_NE(refusal([] { parseScene("[1]", "scene a.json"); }).find("JSON object"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"colour": "#000000"})", "s"); }).find("unknown setting \"colour\""),
              std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"depth": 12})", "s"); }).find("8, 16 or 32"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"depth": 8.5})", "s"); }).find("\"depth\""), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"size": [640]})", "s"); }).find("\"size\""), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"shape": 2})", "s"); }).find("\"shape\""), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"press-refresh": 1})", "s"); }).find("true or false"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"opacity": 300})", "s"); }).find("-100 to 200"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"color": [{"time": 1}]})", "s"); }).find("\"color\""), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"time": 1, "frames": "0-2"})", "s"); }).find("exclude"), std::string::npos);
    EXPECT_NE(refusal([] { parseScene(R"({"threads": 4294967297})", "s"); }).find("\"threads\""), std::string::npos);
    EXPECT_NE(refusal([] { loadSceneFile("/nonexistent/scene.json"); }).find("does not exist"), std::string::npos);
}

TEST(Merge, FlagsOverrideTheSceneFieldByField) {
    const RenderSettings scene = parseScene(R"({"size": "100x50", "depth": 16, "color": ["0:#ff0000", "1:#00ff00"],
                                                "frames": "0-3", "output": "a-#.pam"})",
                                            "s");
    const CommandLine line = parse({"--depth", "8", "--color", "#0000ff", "--time", "2"});
    const RenderSettings merged = mergeSettings(scene, line.flags);
    EXPECT_EQ(merged.size->width, 100);
    EXPECT_EQ(*merged.depth, 8);
    ASSERT_EQ(merged.colors->size(), 1u); // the flag's list replaces the scene's keyframes
    EXPECT_EQ((*merged.colors)[0].color.blue, 255);
    EXPECT_DOUBLE_EQ(*merged.seconds, 2.0);
    EXPECT_FALSE(merged.frames.has_value()); // a time on the command line replaces the scene's frames
    EXPECT_EQ(*merged.output, "a-#.pam");
    EXPECT_EQ(merged.nameOf("depth"), "--depth");
    EXPECT_EQ(merged.nameOf("size"), "s: \"size\"");
}

// Settings that exclude each other: one given on the command line drops the other from the scene, and
// given together they are refused. A file named on the command line drops the scene's --format, which was
// for standard output.
TEST(Merge, SettingsThatExcludeEachOther) {
    const RenderSettings scene = parseScene(R"({"force": true, "format": "png", "output": "-", "frames": "0-3"})", "s");
    const RenderSettings resumed = mergeSettings(scene, parse({"--skip-existing", "-o", "f-#.pam"}).flags);
    EXPECT_TRUE(*resumed.skipExisting);
    EXPECT_FALSE(resumed.force.has_value());
    EXPECT_EQ(resumed.format, nullptr);
    EXPECT_STREQ(resolveJob(resumed).format->name, "pam");
    const RenderSettings piped = mergeSettings(scene, parse({"--depth", "16"}).flags);
    EXPECT_TRUE(resolveJob(piped).toStandardOutput);
    EXPECT_STREQ(resolveJob(piped).format->name, "png");

    const RenderSettings both = parse({"--skip-existing", "--force", "-o", "a.pam"}).flags;
    EXPECT_NE(refusal([&] { resolveJob(both); }).find("--skip-existing and --force exclude each other"),
              std::string::npos);
    const RenderSettings fromScene = parseScene(R"({"skip-existing": true, "force": true, "output": "a.pam"})", "s");
    EXPECT_NE(refusal([&] { resolveJob(fromScene); }).find("s: \"skip-existing\" and s: \"force\" exclude each other"),
              std::string::npos);
}

// A value is blamed where it was given: in the scene file, or on the command line.
TEST(Merge, MessagesNameWhereTheValueCameFrom) {
    const RenderSettings scene = parseScene(R"({"opacity": [50, 60], "output": "a.png"})", "scene s.json");
    const std::string fromScene = refusal([&] { resolveJob(mergeSettings(scene, parse({}).flags)); });
    EXPECT_NE(fromScene.find("scene s.json: \"opacity\": give one plain opacity"), std::string::npos) << fromScene;
    const std::string fromFlags = refusal([&] { resolveJob(mergeSettings(scene, parse({"--opacity", "0:1", "--opacity", "0:2"}).flags)); });
    EXPECT_NE(fromFlags.find("--opacity: the keyframes '0:1' and '0:2' both fall on time unit 0"), std::string::npos)
        << fromFlags;
}

TEST(CommandLine, RepeatableOptionsAndModes) {
    const CommandLine line = parse({"--color", "0:#ff0000", "--color=1:#0000ff", "--opacity", "-50", "-o", "x.png",
                                    "--press-refresh", "-v", "--scene", "s.json"});
    EXPECT_EQ(line.mode, CommandLine::Mode::Render);
    ASSERT_EQ(line.flags.colors->size(), 2u);
    EXPECT_DOUBLE_EQ((*line.flags.opacities)[0].percent, -50.0);
    EXPECT_TRUE(*line.flags.pressRefresh);
    EXPECT_TRUE(*line.flags.verbose);
    EXPECT_EQ(*line.scenePath, "s.json");
    EXPECT_FALSE(line.flags.size.has_value());

    const CommandLine inspect = parse({"inspect", "module.aex"});
    EXPECT_EQ(inspect.mode, CommandLine::Mode::Inspect);
    EXPECT_EQ(inspect.inspectModule, "module.aex");
    EXPECT_EQ(parse({"--help"}).mode, CommandLine::Mode::Help);
    const CommandLine version = parse({"--version", "--module", "effect.so"});
    EXPECT_EQ(version.mode, CommandLine::Mode::Version);
    EXPECT_EQ(*version.flags.module, "effect.so");
}

TEST(CommandLine, RefusesUnknownFlagsAndStrayArguments) {
    EXPECT_NE(refusal([] { parse({"--bogus"}); }).find("--bogus"), std::string::npos);
    EXPECT_NE(refusal([] { parse({"--color", "#ff0000", "stray"}); }).find("stray"), std::string::npos);
    EXPECT_NE(refusal([] { parse({"--size"}); }), "");
    EXPECT_NE(refusal([] { parse({"--shape", "cone"}); }).find("--shape"), std::string::npos);
}

TEST(Job, DefaultsAndTimes) {
    RenderSettings s;
    s.output = "out.pam";
    const RenderJob job = resolveJob(s);
    EXPECT_EQ(job.size.width, 1920);
    EXPECT_EQ(job.size.height, 1080);
    EXPECT_EQ(job.depth, 8);
    EXPECT_STREQ(job.format->name, "pam");
    EXPECT_EQ(job.timeStep, 4000); // round(120000 / 30)
    EXPECT_EQ(job.frameCount(), 1);
    EXPECT_EQ(job.frameAt(0).time, 0);
    EXPECT_EQ(job.frameAt(0).path, "out.pam");
    EXPECT_GE(job.threads, 1);
    EXPECT_FALSE(job.shape.has_value());

    s.seconds = 1.0 / 3.0;
    s.fps = 24;
    const RenderJob timed = resolveJob(s);
    EXPECT_EQ(timed.frameAt(0).time, 40000);
    EXPECT_EQ(timed.timeStep, 5000);
}

TEST(Job, ATimeScaleCountsEveryTimeInItsUnits) {
    RenderSettings s = parseScene(R"({"time-scale": 24, "time": 0.5, "fps": 24, "color": ["0:#ff0000", "1:#0000ff"]})",
                                  "s");
    s.output = "out.pam";
    const RenderJob job = resolveJob(s);
    EXPECT_EQ(job.timeScale, 24u);
    EXPECT_EQ(job.frameAt(0).time, 12);
    EXPECT_EQ(job.timeStep, 1);
    ASSERT_EQ(job.colorKeyframes.size(), 2u);
    EXPECT_EQ(job.colorKeyframes[1].time, 24);
    EXPECT_EQ(*parse({"--time-scale", "30000"}).flags.timeScale, 30000u);
    EXPECT_NE(refusal([] { parse({"--time-scale", "0"}); }).find("--time-scale"), std::string::npos);
    EXPECT_NE(refusal([] { parse({"--time-scale", "120001"}); }).find("1 to 120000"), std::string::npos);
}

TEST(Job, SequencesNumberTheirFiles) {
    RenderSettings s;
    s.output = "ramp-###.png";
    s.frames = FrameRange{8, 11};
    s.fps = 29.97;
    const RenderJob job = resolveJob(s);
    ASSERT_EQ(job.frameCount(), 4);
    EXPECT_EQ(job.frameAt(0).path, "ramp-008.png");
    EXPECT_EQ(job.frameAt(3).path, "ramp-011.png");
    EXPECT_EQ(job.frameAt(3).number, 11);
    EXPECT_EQ(job.frameAt(1).time, 36036); // round(9 / 29.97 x 120000) = round(36036.036)
    EXPECT_EQ(job.timeStep, 4004);          // round(120000 / 29.97) = round(4004.004)
}

TEST(Job, KeyframesAtRoundedHostTimes) {
    RenderSettings s;
    s.output = "a.png";
    s.colors = std::vector<ColorEntry>{{0.5, Rgba8{255, 0, 0, 255}, "0.5:#ff0000"},
                                       {0.0000041, Rgba8{0, 0, 255, 255}, "0.0000041:#0000ff"}};
    s.opacities = std::vector<OpacityEntry>{{std::nullopt, 42.0, "42"}};
    const RenderJob job = resolveJob(s);
    ASSERT_EQ(job.colorKeyframes.size(), 2u);
    EXPECT_EQ(job.colorKeyframes[0].time, 60000);
    EXPECT_EQ(job.colorKeyframes[1].time, 0); // round(0.492)
    EXPECT_FALSE(job.color.has_value());
    EXPECT_DOUBLE_EQ(*job.opacity, 42.0);
    EXPECT_TRUE(job.opacityKeyframes.empty());
}

TEST(Job, RefusesContradictionsBeforeRendering) {
    const auto withOutput = [](const std::string& out) {
        RenderSettings s;
        s.output = out;
        return s;
    };
    EXPECT_NE(refusal([] { resolveJob(RenderSettings{}); }).find("-o OUT"), std::string::npos);
    EXPECT_NE(refusal([&] { resolveJob(withOutput("a.tiff")); }).find(".png, .exr, .pam or .pfm"), std::string::npos);
    EXPECT_NE(refusal([&] { resolveJob(withOutput("noextension")); }).find(".png, .exr, .pam or .pfm"),
              std::string::npos);
    RenderSettings deep = withOutput("a.PAM");
    deep.depth = 32;
    EXPECT_NE(refusal([&] { resolveJob(deep); }).find("PAM"), std::string::npos);
    RenderSettings seq = withOutput("a.png");
    seq.frames = FrameRange{0, 1};
    EXPECT_NE(refusal([&] { resolveJob(seq); }).find("'#'"), std::string::npos);
    RenderSettings twoRuns = withOutput("a#-#.png");
    twoRuns.frames = FrameRange{0, 1};
    EXPECT_NE(refusal([&] { resolveJob(twoRuns); }).find("more than one run"), std::string::npos);
    RenderSettings far = withOutput("a#.png");
    far.frames = FrameRange{0, 600000};
    EXPECT_NE(refusal([&] { resolveJob(far); }).find("17000"), std::string::npos);
    RenderSettings mixed = withOutput("a.png");
    mixed.colors = std::vector<ColorEntry>{{std::nullopt, Rgba8{}, "#000000"}, {1.0, Rgba8{}, "1:#000000"}};
    EXPECT_NE(refusal([&] { resolveJob(mixed); }).find("--color"), std::string::npos);
    // Keyframes that round to one time unit are named as written, with the time scale.
    RenderSettings twice = withOutput("a.png");
    twice.opacities = std::vector<OpacityEntry>{{1.0, 10, "1:10"}, {1.0000041, 20, "1.0000041:20"}};
    EXPECT_EQ(refusal([&] { resolveJob(twice); }),
              "--opacity: the keyframes '1:10' and '1.0000041:20' both fall on time unit 120000 at 120000 units per "
              "second; keyframes must lie at least one unit apart (--time-scale sets the units)");
    twice.timeScale = 24;
    twice.opacities = std::vector<OpacityEntry>{{0.5, 10, "0.5:10"}, {0.52, 20, "0.52:20"}}; // 12 and 12.48
    EXPECT_NE(refusal([&] { resolveJob(twice); }).find("'0.5:10' and '0.52:20' both fall on time unit 12 at 24 units"),
              std::string::npos);
    EXPECT_NE(refusal([&] { resolveJob(withOutput("/nonexistent-folder/a.png")); }).find("does not exist"),
              std::string::npos);
    EXPECT_NE(refusal([&] { resolveJob(withOutput("/tmp/")); }), "");
}

// Before anything is loaded: a frame the host cannot make, and one that needs more memory than allowed,
// with the estimate (three copies of the frame and a margin).
TEST(Job, RefusesFramesThatDoNotFitInMemory) {
    RenderSettings s;
    s.output = "a.exr";
    s.size = FrameSize{32767, 32767};
    s.depth = 32;
    EXPECT_NE(refusal([&] { resolveJob(s); }).find("--size: the host cannot make buffers for a frame of 32767x32767"),
              std::string::npos);
    s.size = FrameSize{8192, 8192};
    s.depth = 32;
    s.maxMemory = std::uint64_t(2) << 30;
    const std::string message = refusal([&] { resolveJob(s); });
    EXPECT_NE(message.find("a frame of 8192x8192 at depth 32 needs about 3.0 GiB of memory, more than --max-memory "
                           "(2.0 GiB)"),
              std::string::npos)
        << message;
    s.downsample = Downsample{2, 2}; // a quarter of the pixels
    EXPECT_NO_THROW(resolveJob(s));
}

TEST(FrameNaming, PadsToTheRunAndKeepsFolders) {
    EXPECT_EQ(framePath("out/ramp-###.png", 7), "out/ramp-007.png");
    EXPECT_EQ(framePath("out/ramp-#.png", 1234), "out/ramp-1234.png");
    EXPECT_EQ(framePath("out#dir/ramp-##.pam", 3), "out#dir/ramp-03.pam"); // '#' in a folder is left alone
    EXPECT_EQ(framePath("plain.png", 3), "plain.png");
    EXPECT_FALSE(hasFrameNumberRun("out#/plain.png"));
    EXPECT_TRUE(hasFrameNumberRun("####.exr"));
#if defined(_WIN32)
    EXPECT_EQ(framePath("out#\\ramp-##.png", 3), "out#\\ramp-03.png"); // '\' separates folders
#else
    // A backslash is an ordinary character of a name here: a '#' before it is in the file name.
    EXPECT_EQ(framePath("#\\ramp.png", 3), "3\\ramp.png");
    EXPECT_NE(refusal([] { framePath("out#\\ramp-##.png", 3); }).find("more than one run"), std::string::npos);
#endif
}

// A file's format is its extension, found in the file name as this system reads paths; a name without
// one (./-, a file named "-") takes the format --format names.
TEST(Job, TheFormatOfAFileNameWithoutAnExtensionIsGivenByFormat) {
    RenderSettings s;
    s.output = "./-";
    EXPECT_NE(refusal([&] { resolveJob(s); }).find("--output ./-: the file name must end in .png, .exr, .pam or "
                                                   ".pfm, or --format must name the format of a name without an "
                                                   "extension"),
              std::string::npos);
    s.format = findImageFormat("pam");
    const RenderJob job = resolveJob(s);
    EXPECT_FALSE(job.toStandardOutput);
    EXPECT_STREQ(job.format->name, "pam");
    EXPECT_EQ(job.frameAt(0).path, "./-");
    s.output = "frames.v2/shot.pfm"; // the dot of a folder is no extension, nor does --format overrule one
    EXPECT_NE(refusal([&] { resolveJob(s); }).find("--format pam and --output frames.v2/shot.pfm disagree"),
              std::string::npos);
#if !defined(_WIN32)
    s.format = nullptr;
    s.output = "shot.v2\\frame"; // one file name here
    EXPECT_NE(refusal([&] { resolveJob(s); }).find("(not .v2\\frame)"), std::string::npos);
#endif
}

} // namespace
