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

using OrvaneHost::StreamValue;

const std::vector<ControlEntry>& entries(const RenderSettings& s, PF_ParamIndex control) {
    return s.controls.at(control);
}
// A control's plain value, as the host holds it.
const StreamValue& plain(const RenderSettings& s, PF_ParamIndex control) { return entries(s, control).at(0).value; }

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
    EXPECT_EQ(plain(s, Orvane::kParamShape)[0], Orvane::kShapeRadial);
    EXPECT_EQ(plain(s, Orvane::kParamRepeat)[0], Orvane::kRepeatPingpong);
    EXPECT_DOUBLE_EQ(plain(s, Orvane::kParamPoint1)[0], 10.5);
    EXPECT_DOUBLE_EQ(plain(s, Orvane::kParamPoint2)[1], 180.25);
    const auto& colors = entries(s, Orvane::kParamColor);
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_DOUBLE_EQ(*colors[1].seconds, 2.0);
    EXPECT_DOUBLE_EQ(colors[1].value[0], 0x80 / 255.0); // alpha first
    const auto& opacities = entries(s, Orvane::kParamOpacity);
    ASSERT_EQ(opacities.size(), 2u);
    EXPECT_DOUBLE_EQ(opacities[0].value[0], 150.0);
    EXPECT_DOUBLE_EQ(opacities[1].value[0], -20.0);
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
    EXPECT_DOUBLE_EQ(plain(s, Orvane::kParamPoint1)[0], 100.0);
    EXPECT_DOUBLE_EQ(plain(s, Orvane::kParamPoint1)[1], -5.5);
    EXPECT_DOUBLE_EQ(entries(s, Orvane::kParamOpacity)[0].value[0], 20.0);
    EXPECT_DOUBLE_EQ(*entries(s, Orvane::kParamOpacity)[1].seconds, 2.0);
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
    const std::vector<ControlEntry>& opacities = entries(s, Orvane::kParamOpacity);
    ASSERT_EQ(opacities.size(), std::size_t(kKeyframes));
    for (int i : {0, 1, 12345, kKeyframes - 1}) {
        EXPECT_DOUBLE_EQ(*opacities[std::size_t(i)].seconds, i / 100.0) << i;
        EXPECT_DOUBLE_EQ(opacities[std::size_t(i)].value[0], i % 200) << i;
    }
}

TEST(SceneFile, AFileNameHoldsNoNul) {
    const std::string message = refusal([] { parseScene(R"({"output": "notes.txt\u0000.png"})", "s"); });
    EXPECT_NE(message.find("s: \"output\": a file name cannot hold a NUL character"), std::string::npos) << message;
}

// A keyframe object gives the modifiers as fields and reads exactly as the entry's text does; a point's
// value may be [X, Y] alone, in a list or in an object.
TEST(SceneFile, KeyframeObjectsReadAsTheirText) {
    const RenderSettings scene = parseScene(R"({
        "opacity": [{"time": 0.5, "opacity": 40, "in": "hold", "ease_out": {"speed": 10, "influence": 50}},
                    {"time": 2, "opacity": "80", "out": "bezier", "ease_in": {"speed": -2.5, "influence": 0.1}}],
        "point1": [{"time": 0, "point1": [100, 50], "tangent_out": [40, -80.5]}, [7, 8],
                   {"time": 1, "point1": "300,50", "tangent_in": [-40, 80], "in": "linear"}],
        "point2": [12, 34],
        "shape": ["0:linear", {"time": 2, "shape": "radial", "out": "hold"}]})",
                                            "s");
    const CommandLine line = parse({"--opacity", "0.5:40:in=hold:ease_out=10,50", "--opacity",
                                    "2:80:out=bezier:ease_in=-2.5,0.1", "--point1", "0:100,50:tangent_out=40,-80.5",
                                    "--point1", "7,8", "--point1", "1:300,50:in=linear:tangent_in=-40,80",
                                    "--point2", "12,34", "--shape", "0:linear", "--shape", "2:radial:out=hold"});
    ASSERT_EQ(scene.controls.size(), line.flags.controls.size());
    for (const auto& [control, entries] : line.flags.controls) {
        const std::vector<ControlEntry>& read = scene.controls.at(control);
        ASSERT_EQ(read.size(), entries.size()) << control;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "control " << control << ", entry " << i + 1);
            const ControlEntry &a = read[i], &b = entries[i];
            EXPECT_EQ(a.place, b.place);
            EXPECT_EQ(a.seconds, b.seconds);
            EXPECT_EQ(a.value, b.value);
            for (const auto& [x, y] : {std::make_pair(a.in, b.in), std::make_pair(a.out, b.out)}) {
                EXPECT_EQ(x.interpolation, y.interpolation);
                EXPECT_EQ(x.ease.speed, y.ease.speed);
                EXPECT_EQ(x.ease.influence, y.ease.influence);
            }
            EXPECT_EQ(a.tangentIn.dx, b.tangentIn.dx);
            EXPECT_EQ(a.tangentIn.dy, b.tangentIn.dy);
            EXPECT_EQ(a.tangentOut.dx, b.tangentOut.dx);
            EXPECT_EQ(a.tangentOut.dy, b.tangentOut.dy);
        }
    }
    EXPECT_EQ(entries(scene, Orvane::kParamOpacity)[1].in.ease.influence, 0.001);
    EXPECT_EQ(entries(scene, Orvane::kParamPoint1)[0].tangentOut.dy, -80.5);
}

// A keyframe object is refused naming the scene key, the keyframe by its place and time, and the field.
TEST(SceneFile, KeyframeObjectsNameWhatIsWrong) {
    const std::pair<const char*, std::vector<std::string>> refused[] = {
        {R"({"opacity": ["0:0", {"time": 1, "opacity": 40, "ease_in": {"speed": 0}}]})",
         {"s: \"opacity\": keyframe 2 at 1 s, \"ease_in\"", "{\"speed\": S, \"influence\": I}", "{\"speed\":0}"}},
        {R"({"opacity": {"time": 1, "opacity": 40, "ease_out": {"speed": 0, "influence": 150}}})",
         {"s: \"opacity\": keyframe 1 at 1 s", "ease_out influence", "got '150'"}},
        {R"({"opacity": {"time": 1, "opacity": 40, "in": "smooth"}})", {"keyframe 1 at 1 s", "got 'in=smooth'"}},
        {R"({"opacity": {"time": 1, "opacity": 40, "in": "hold:ease"}})", {"\"in\"", "linear, hold or bezier"}},
        {R"({"opacity": {"time": 1, "opacity": 40, "inn": "hold"}})", {"\"inn\"", "a field of a keyframe", "ease_in"}},
        {R"({"color": {"time": 1, "color": "#000000", "tangent_in": [1, 2]}})", {"s: \"color\"", "a colour"}},
        {R"({"point1": {"time": 1, "point1": [1, 2], "tangent_in": [1]}})", {"\"tangent_in\"", "[DX, DY]"}},
        {R"({"shape": {"time": 3, "shape": "radial", "ease_in": {"speed": 1, "influence": 50}}})",
         {"s: \"shape\": keyframe 1 at 3 s", "always held"}},
        {R"({"point2": [{"time": 1, "point2": [1, 2]}, {"time": 1, "point2": [3, 4]}], "output": "a.png"})",
         {"s: \"point2\": the keyframes '", "both fall on time unit 120000 at 120000 units per second"}},
        {R"({"opacity": {"time": "1:2", "opacity": 40}})", {"keyframe 1 at 1:2 s, \"time\""}},
        {R"({"point2": [1, 2, 3]})", {"s: \"point2\""}},
    };
    for (const auto& [json, said] : refused) {
        const std::string message = refusal([&, json = json] { resolveJob(parseScene(json, "s")); });
        for (const std::string& part : said)
            EXPECT_NE(message.find(part), std::string::npos) << part << " in: " << message;
    }
}

TEST(SceneFile, PlainValuesAreConstants) {
    const RenderSettings s = parseScene(R"({"color": "#102030", "opacity": 50, "time": 1.5, "downsample": 2})", "scene");
    ASSERT_EQ(entries(s, Orvane::kParamColor).size(), 1u);
    EXPECT_FALSE(entries(s, Orvane::kParamColor)[0].seconds.has_value());
    EXPECT_FALSE(entries(s, Orvane::kParamOpacity)[0].seconds.has_value());
    EXPECT_DOUBLE_EQ(plain(s, Orvane::kParamOpacity)[0], 50.0);
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
    ASSERT_EQ(entries(merged, Orvane::kParamColor).size(), 1u); // the flag's list replaces the scene's keyframes
    EXPECT_EQ(plain(merged, Orvane::kParamColor)[3], 1.0);        // blue
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

// A setting for one format goes with an output of that format only, and is refused with another, named
// where it was given. A file named on the command line drops the scene's settings for other formats, so
// that a scene made for EXR renders a PNG preview; settings given with that file stay and are refused.
TEST(Merge, SettingsForOneFormat) {
    const RenderSettings scene =
        parseScene(R"({"half": true, "exr-compression": "piz", "png-compression": "small", "output": "f-#.exr",
                       "frames": "0-3"})",
                   "s");
    EXPECT_NE(refusal([&] { resolveJob(scene); }).find("s: \"png-compression\" is for PNG output, not for EXR (s: \"output\" f-#.exr)"),
              std::string::npos)
        << refusal([&] { resolveJob(scene); });
    const RenderJob exr = resolveJob(mergeSettings(scene, parse({"-o", "g-#.exr"}).flags));
    EXPECT_TRUE(exr.encoding.half);
    EXPECT_EQ(exr.encoding.exrCompression, ExrCompression::Piz);
    EXPECT_EQ(exr.encoding.pngCompression, PngCompression::Default);
    const RenderJob png = resolveJob(mergeSettings(scene, parse({"-o", "f-#.png"}).flags));
    EXPECT_EQ(png.encoding.pngCompression, PngCompression::Small);
    EXPECT_FALSE(png.encoding.half);
    const std::string given = refusal([&] { resolveJob(mergeSettings(scene, parse({"--half", "-o", "f-#.pam"}).flags)); });
    EXPECT_NE(given.find("--half is for EXR output, not for PAM (--output f-#.pam)"), std::string::npos) << given;
    const std::string piped = refusal([&] { resolveJob(parse({"--png-compression", "fast", "--format", "pam", "-o", "-"}).flags); });
    EXPECT_NE(piped.find("--png-compression is for PNG output, not for PAM (--output - with --format pam)"),
              std::string::npos)
        << piped;
    EXPECT_EQ(resolveJob(parse({"--threads", "3", "-o", "a.exr"}).flags).encoding.threads, 3);
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
    ASSERT_EQ(entries(line.flags, Orvane::kParamColor).size(), 2u);
    EXPECT_DOUBLE_EQ(plain(line.flags, Orvane::kParamOpacity)[0], -50.0);
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
    EXPECT_TRUE(job.scene.controls().empty());

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
    const auto& keys = job.scene.controls().at(Orvane::kParamColor).keyframes;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].time.value, 24);
    EXPECT_EQ(keys[1].time.scale, 24u);
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
    applySetting(*findSettingOption("color"), {"0.5:#ff0000", "0.0000041:#0000ff"}, "--color", s);
    applySetting(*findSettingOption("opacity"), {"42"}, "--opacity", s);
    const RenderJob job = resolveJob(s);
    const OrvaneHost::ControlSetting& color = job.scene.controls().at(Orvane::kParamColor);
    ASSERT_EQ(color.keyframes.size(), 2u);
    EXPECT_EQ(color.keyframes[0].time.value, 60000);
    EXPECT_EQ(color.keyframes[1].time.value, 0); // round(0.492)
    EXPECT_FALSE(color.value.has_value());
    const OrvaneHost::ControlSetting& opacity = job.scene.controls().at(Orvane::kParamOpacity);
    EXPECT_DOUBLE_EQ((*opacity.value)[0], 42.0);
    EXPECT_TRUE(opacity.keyframes.empty());
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
    applySetting(*findSettingOption("color"), {"#000000", "1:#000000"}, "--color", mixed);
    EXPECT_NE(refusal([&] { resolveJob(mixed); }).find("--color"), std::string::npos);
    // Keyframes that round to one time unit are named as written, with the time scale.
    RenderSettings twice = withOutput("a.png");
    applySetting(*findSettingOption("opacity"), {"1:10", "1.0000041:20"}, "--opacity", twice);
    EXPECT_EQ(refusal([&] { resolveJob(twice); }),
              "--opacity: the keyframes '1:10' and '1.0000041:20' both fall on time unit 120000 at 120000 units per "
              "second; keyframes must lie at least one unit apart (--time-scale sets the units)");
    twice.timeScale = 24;
    applySetting(*findSettingOption("opacity"), {"0.5:10", "0.52:20"}, "--opacity", twice); // 12 and 12.48
    EXPECT_NE(refusal([&] { resolveJob(twice); }).find("'0.5:10' and '0.52:20' both fall on time unit 12 at 24 units"),
              std::string::npos);
    EXPECT_NE(refusal([&] { resolveJob(withOutput("/nonexistent-folder/a.png")); }).find("does not exist"),
              std::string::npos);
    EXPECT_NE(refusal([&] { resolveJob(withOutput("/tmp/")); }), "");
}

// Before anything is loaded: a frame the host cannot make, and one that needs more memory than allowed,
// with the estimate: three copies of the frame (3 GiB of floats), the EXR writer's band and what the library
// keeps of it (with 2 threads, 4 blocks of 16 rows at 16 bytes a pixel, 8 MiB, four times), and a margin of
// 32 MiB: 3 GiB and 64 MiB.
TEST(Job, RefusesFramesThatDoNotFitInMemory) {
    RenderSettings s;
    s.output = "a.exr";
    s.size = FrameSize{32767, 32767};
    s.depth = 32;
    EXPECT_NE(refusal([&] { resolveJob(s); }).find("--size: the host cannot make buffers for a frame of 32767x32767"),
              std::string::npos);
    s.size = FrameSize{8192, 8192};
    s.depth = 32;
    s.threads = 2;
    s.maxMemory = std::uint64_t(2) << 30;
    const std::string message = refusal([&] { resolveJob(s); });
    EXPECT_NE(message.find("a frame of 8192x8192 at depth 32 needs about 3.1 GiB of memory, more than --max-memory "
                           "(2.0 GiB)"),
              std::string::npos)
        << message;
    s.downsample = Downsample{2, 2}; // a quarter of the pixels
    EXPECT_NO_THROW(resolveJob(s));
}

// A sequence keeps one frame more for each frame it writes while the next renders, and writes as many at
// once as there are threads and as fit: 1920x1080 at 8 bits is 8,294,400 bytes a frame; its PNG writer takes
// 8 rows of 16-bit samples (122,880 bytes) and a mebibyte; the margin is 32 MiB. Standard output takes one
// writer, which keeps the frames' order; a single frame none.
TEST(Job, WritesAsManyFramesAtOnceAsFitInMemory) {
    const std::uint64_t frame = 8294400, writer = 122880 + (1u << 20), margin = 32u << 20;
    RenderSettings s;
    s.output = "f-#.png";
    s.frames = FrameRange{0, 9};
    s.threads = 4;
    const struct {
        std::uint64_t limit;
        int framesInFlight;
    } cases[] = {
        {3 * frame + writer + margin, 0},
        {4 * frame + writer + margin, 1},
        {6 * frame + 3 * writer + margin - 1, 2},
        {6 * frame + 3 * writer + margin, 3},
        {std::uint64_t(1) << 40, 4},
    };
    for (const auto& c : cases) {
        s.maxMemory = c.limit;
        EXPECT_EQ(resolveJob(s).framesInFlight, c.framesInFlight) << c.limit;
    }
    s.maxMemory = 3 * frame + writer + margin - 1;
    EXPECT_NE(refusal([&] { resolveJob(s); }).find("needs about 56.8 MiB of memory"), std::string::npos);

    s.maxMemory.reset();
    s.output = "-";
    s.format = findImageFormat("png");
    EXPECT_EQ(resolveJob(s).framesInFlight, 1);
    s.frames.reset();
    EXPECT_EQ(resolveJob(s).framesInFlight, 0);
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
