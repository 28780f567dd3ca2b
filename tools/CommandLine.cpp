#include "CommandLine.h"

#include "ToolError.h"
#include "ValueParsing.h"

#include <CLI/CLI.hpp>

#include <vector>

namespace OrvaneTools {

namespace {

const char* const kDescription =
    "orvane-render [options] -o OUT\n"
    "orvane-render inspect MODULE\n\n"
    "orvane-render drives the OrvaneVelmorathquist effect module as a compositing host does (global setup,\n"
    "parameter setup, UI update, then smart pre-render and smart render for each frame, global setdown at\n"
    "the end) and writes the frames it renders as image files.";

const char* const kFooter = R"(Values:
  Times are seconds of layer time (the host counts 120000 units per second, or --time-scale's);
  keyframes and frames sit at round(T x units per second). A colour is #RRGGBB or #RRGGBBAA (alpha last; quote it, the shell reads # as a
  comment). One plain --color or --opacity sets the parameter; entries T:C or T:P are keyframes, and
  with two or more of them the effect lays their animation out along the ramp. Points are layer pixels
  at full resolution, decimals allowed. Unset parameters keep the effect's own defaults: shape linear,
  repeat none, points (0, H/2) and (W, H/2), colour opaque white, opacity 100.

Output:
  .png  RGBA, straight alpha: 8-bit at depth 8, 16-bit at depths 16 and 32
  .exr  32-bit float RGBA from any depth, colour premultiplied by alpha
  .pam  the buffer's exact values, TUPLTYPE RGB_ALPHA, MAXVAL 255 (depth 8) or 32768 (depth 16)
  With --frames, a run of # in the file name becomes the zero-padded frame number (ramp-###.png).
  Files are written to a temporary name and renamed, so none is ever left half-written.

Scene files:
  A JSON object whose keys are the long option names (and "output" for -o), e.g.
  {"size": "640x360", "shape": "radial", "color": ["0:#203060", "1:#f0c040"], "output": "ramp.png"}.
  Options given on the command line override the file.

Exit codes:
  0 done, 2 bad option, value or scene, 3 module cannot be loaded, 4 the effect returned an error,
  5 an image could not be written, 1 anything else (such as running out of memory).)";

struct FlagText {
    std::string module, output, scene, size, depth, downsample, shape, repeat, point1, point2, seconds, fps, frames,
        threads, timeScale;
    std::vector<std::string> colors, opacities;
    bool pressRefresh = false;
    bool verbose = false;
};

void declareOptions(CLI::App& app, FlagText& flags, std::string& inspectModule) {
    app.add_option("-o,--output", flags.output, "output image: .png, .exr or .pam")->type_name("OUT");
    app.add_option("--module", flags.module, "the effect module (default: the one built beside this program)")
        ->type_name("PATH");
    app.add_option("--scene", flags.scene, "read settings from a JSON scene file; flags override it")
        ->type_name("FILE.json");
    app.add_option("--size", flags.size, "layer size (default 1920x1080)")->type_name("WxH");
    app.add_option("--depth", flags.depth, "bits per channel: 8, 16 or 32 (float); default 8")->type_name("8|16|32");
    app.add_option("--downsample", flags.downsample,
                   "render at 1/N horizontally and 1/M vertically; buffers are ceil(W/N) x ceil(H/M)")
        ->type_name("N|NxM");
    app.add_option("--shape", flags.shape, "ramp shape")->type_name("linear|radial");
    app.add_option("--repeat", flags.repeat, "what the ramp does beyond its points")->type_name("none|loop|pingpong");
    app.add_option("--point1", flags.point1, "Point 1 in layer pixels (default 0,H/2)")->type_name("X,Y");
    app.add_option("--point2", flags.point2, "Point 2 in layer pixels (default W,H/2)")->type_name("X,Y");
    app.add_option("--color", flags.colors, "colour, or a keyframe at T seconds; repeatable")
        ->type_name("C|T:C")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--opacity", flags.opacities, "opacity in percent (-100 to 200), or a keyframe; repeatable")
        ->type_name("P|T:P")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--time", flags.seconds, "render the frame at T seconds (default 0)")->type_name("T");
    app.add_option("--fps", flags.fps, "frames per second: the time step and the --frames times (default 30)")
        ->type_name("F");
    app.add_option("--frames", flags.frames, "render frames A to B at time frame / fps")->type_name("A-B");
    app.add_option("--threads", flags.threads, "the host's worker threads (default: the machine's)")->type_name("N");
    app.add_option("--time-scale", flags.timeScale, "the host's time units per second, 1 to 120000 (default 120000)")
        ->type_name("N");
    app.add_flag("--press-refresh", flags.pressRefresh, "press the effect's Refresh button before rendering");
    app.add_flag("-v,--verbose", flags.verbose,
                 "print the registration, the controls, and per frame the pre-render record, table sizes, "
                 "stream-value requests and render time");

    auto* inspect = app.add_subcommand("inspect", "show what a host's effect list would read from a module file");
    inspect->add_option("MODULE", inspectModule, "the module file")->required();
}

template <class T, class Parse>
void parseIfGiven(const CLI::App& app, const char* name, const std::string& text, std::optional<T>& into, Parse parse) {
    if (app.count(name) > 0) into = parse(text, name);
}

RenderSettings settingsFrom(const CLI::App& app, const FlagText& flags) {
    RenderSettings s;
    if (app.count("--module")) s.module = flags.module;
    if (app.count("--output")) s.output = flags.output;
    parseIfGiven(app, "--size", flags.size, s.size, parseSize);
    parseIfGiven(app, "--depth", flags.depth, s.depth, parseDepth);
    parseIfGiven(app, "--downsample", flags.downsample, s.downsample, parseDownsample);
    parseIfGiven(app, "--shape", flags.shape, s.shape, parseShape);
    parseIfGiven(app, "--repeat", flags.repeat, s.repeat, parseRepeat);
    parseIfGiven(app, "--point1", flags.point1, s.point1, parsePoint);
    parseIfGiven(app, "--point2", flags.point2, s.point2, parsePoint);
    parseIfGiven(app, "--time", flags.seconds, s.seconds, parseSeconds);
    parseIfGiven(app, "--fps", flags.fps, s.fps, parseFps);
    parseIfGiven(app, "--frames", flags.frames, s.frames, parseFrames);
    parseIfGiven(app, "--threads", flags.threads, s.threads, parseThreads);
    parseIfGiven(app, "--time-scale", flags.timeScale, s.timeScale, parseTimeScale);
    if (app.count("--color")) {
        s.colors.emplace();
        for (const auto& text : flags.colors) s.colors->push_back(parseColorEntry(text, "--color"));
    }
    if (app.count("--opacity")) {
        s.opacities.emplace();
        for (const auto& text : flags.opacities) s.opacities->push_back(parseOpacityEntry(text, "--opacity"));
    }
    if (flags.pressRefresh) s.pressRefresh = true;
    return s;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CLI::App app(kDescription, "orvane-render");
    app.footer(kFooter);
    FlagText flags;
    CommandLine result;
    declareOptions(app, flags, result.inspectModule);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        result.mode = CommandLine::Mode::Help;
        result.helpText = app.help();
        return result;
    } catch (const CLI::CallForAllHelp&) {
        result.mode = CommandLine::Mode::Help;
        result.helpText = app.help("", CLI::AppFormatMode::All);
        return result;
    } catch (const CLI::ParseError& e) {
        throw usageError(std::string(e.what()) + " (see orvane-render --help)");
    }
    if (app.got_subcommand("inspect")) {
        result.mode = CommandLine::Mode::Inspect;
        return result;
    }
    result.flags = settingsFrom(app, flags);
    if (app.count("--scene")) result.scenePath = flags.scene;
    result.verbose = flags.verbose;
    return result;
}

} // namespace OrvaneTools
