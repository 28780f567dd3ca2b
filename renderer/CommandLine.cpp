#include "CommandLine.h"

#include "SettingKeys.h"
#include "ToolError.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <sstream>

namespace OrvaneTools {

namespace {

const char* const kModuleVariable = "ORVANE_MODULE";

const char* const kDescription =
    "orvane-render [options] -o OUT\n"
    "orvane-render [options] -o - --format png|pam|pfm | program\n"
    "orvane-render inspect MODULE\n"
    "orvane-render --version [--module PATH]\n\n"
    "orvane-render drives the OrvaneVelmorathquist effect module as a compositing host does (global setup,\n"
    "parameter setup, UI update, then smart pre-render and smart render for each frame, global setdown at\n"
    "the end) and writes the frames it renders as image files, or one after another to standard output.";

const char* const kFooter = R"(Values:
  Times are seconds of layer time (the host counts 120000 units per second, or --time-scale's);
  keyframes and frames sit at round(T x units per second). A colour is #RRGGBB or #RRGGBBAA (alpha last; quote it, the shell reads # as a
  comment). One plain --color or --opacity sets the parameter; entries T:C or T:P are keyframes, and
  with two or more of them the effect lays their animation out along the ramp. Points are layer pixels
  at full resolution, decimals allowed. Numbers may carry an exponent (1e3). Unset parameters keep the
  effect's own defaults: shape linear, repeat none, points (0, H/2) and (W, H/2), colour opaque white,
  opacity 100.

Output:
  .png  RGBA, straight alpha: 8-bit at depth 8, 16-bit at depths 16 and 32
  .exr  32-bit float RGBA from any depth, colour premultiplied by alpha
  .pam  the buffer's exact values, TUPLTYPE RGB_ALPHA, MAXVAL 255 (depth 8) or 32768 (depth 16)
  .pfm  32-bit float RGBA, straight alpha: at depth 32 the buffer's exact values; header "PF4", width and
        height, -1.0 (little-endian), then the rows from the bottom up (docs/guide.md describes it)
  With --frames, a run of # in the file name becomes the zero-padded frame number (ramp-###.png).
  A relative name is relative to the current folder. Each file is written under a short temporary
  name beside it and renamed, so none is ever left half-written; a replaced file keeps its permission
  bits, a symbolic link is written through to its target, and a read-only file is replaced only with
  --force. With --skip-existing a frame whose file exists is kept and not rendered, so a stopped sequence
  resumes where it stopped and machines sharing a folder can each render a range of frames. Before a
  frame is made its memory is estimated (about three copies of the frame) and a frame that needs more
  than the machine has, or than --max-memory, is refused.
  -o - writes the frames to standard output one after another, in the --format given (png, pam or pfm;
  EXR needs a file), for a program that reads images from a pipe; messages, progress and --verbose then
  go to standard error. (A file named "-" is written as ./-.)

Module:
  The effect module is the file --module names, else the file the environment variable ORVANE_MODULE
  names, else OrvaneVelmorathquist beside this program. A name without a folder is a file in the
  current folder, never a library looked up on the system's search path. The file is checked before
  it is loaded (a regular file of at most 512 MiB, a whole module for this system).

Scene files:
  A JSON object (at most 64 MiB) whose keys are the long option names, e.g.
  {"size": "640x360", "shape": "radial", "color": ["0:#203060", "1:#f0c040"], "output": "ramp.png"}.
  Every key takes the option's text as a string and is read exactly as on the command line; numbers,
  pairs [A, B], keyframe objects {"time": T, "color": C} and true/false for flags may be written as
  JSON. A key given twice is an error. A scene cannot name the module (that would run its code) nor
  another scene. Options given on the command line override the file.
)";

// The table of exit codes, each meaning wrapped to the width of the rest of the help.
std::string exitCodeText() {
    constexpr std::size_t kIndent = 9, kWidth = 104;
    std::ostringstream text;
    text << "\nExit codes (docs/exit-codes.md):\n";
    for (const ExitCodeMeaning& row : kExitCodeTable) {
        std::string line = "  " + std::string(row.code);
        line.resize(kIndent, ' ');
        std::istringstream words(row.meaning);
        bool lineHasWord = false;
        for (std::string word; words >> word;) {
            if (lineHasWord && line.size() + 1 + word.size() > kWidth) {
                text << line << "\n";
                line.assign(kIndent, ' ');
                lineHasWord = false;
            }
            line += (lineHasWord ? " " : "") + word;
            lineHasWord = true;
        }
        text << line << "\n";
    }
    return text.str();
}

struct OptionText {
    const char* names;
    const char* typeName;
    const char* help;
};

// The options in the order --help lists them; each long name but "scene" and "version" is a key of
// SettingKeys.h.
const OptionText kOptions[] = {
    {"-o,--output", "OUT", "output image: .png, .exr, .pam or .pfm; - for standard output"},
    {"--format", "png|pam|pfm", "how frames go to standard output with -o - (a file's format is its extension)"},
    {"--module", "PATH", "the effect module file (default: $ORVANE_MODULE, else the one beside this program)"},
    {"--scene", "FILE.json", "read settings from a JSON scene file; flags override it"},
    {"--size", "WxH", "layer size (default 1920x1080)"},
    {"--depth", "8|16|32", "bits per channel: 8, 16 or 32 (float); default 8"},
    {"--downsample", "N|NxM", "render at 1/N horizontally and 1/M vertically; buffers are ceil(W/N) x ceil(H/M)"},
    {"--shape", "linear|radial", "ramp shape"},
    {"--repeat", "none|loop|pingpong", "what the ramp does beyond its points"},
    {"--point1", "X,Y", "Point 1 in layer pixels (default 0,H/2)"},
    {"--point2", "X,Y", "Point 2 in layer pixels (default W,H/2)"},
    {"--color", "C|T:C", "colour, or a keyframe at T seconds; repeatable"},
    {"--opacity", "P|T:P", "opacity in percent (-100 to 200), or a keyframe; repeatable"},
    {"--time", "T", "render the frame at T seconds (default 0)"},
    {"--fps", "F", "frames per second: the time step and the --frames times (default 30)"},
    {"--frames", "A-B", "render frames A to B at time frame / fps"},
    {"--threads", "N", "the host's worker threads (default: the machine's)"},
    {"--time-scale", "N", "the host's time units per second, 1 to 120000 (default 120000)"},
    {"--max-memory", "SIZE", "the most memory a frame may need, e.g. 512M or 4G (default: the machine's memory)"},
    {"--press-refresh", nullptr, "press the effect's Refresh button before rendering"},
    {"--force", nullptr, "replace output files that are read-only"},
    {"--skip-existing", nullptr, "keep the frames whose files exist and render only the missing ones"},
    {"-v,--verbose", nullptr,
     "print the registration, the controls, and per frame the pre-render record, table sizes, stream-value "
     "requests and render time"},
    {"--version", nullptr,
     "print this program's version (the project's, which the effect module carries too) and the effect module's "
     "as a host shows it, then exit"},
};

void declareOptions(CLI::App& app, std::string& inspectModule) {
    for (const OptionText& option : kOptions) {
        if (!option.typeName) {
            app.add_flag(option.names, option.help);
            continue;
        }
        CLI::Option* added = app.add_option(option.names, option.help)->type_name(option.typeName);
        const SettingKey* key = findSettingKey(added->get_single_name());
        if (key && key->form == SettingForm::Entries)
            added->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    app.get_option("--module")->envname(kModuleVariable);
    auto* inspect = app.add_subcommand("inspect", "show what a host's effect list would read from a module file");
    inspect->add_option("MODULE", inspectModule, "the module file")->required();
}

RenderSettings settingsFrom(const CLI::App& app) {
    RenderSettings settings;
    for (const SettingKey& key : settingKeys()) {
        const CLI::Option* option = app.get_option_no_throw("--" + std::string(key.name));
        if (!option || option->count() == 0) continue;
        const std::vector<std::string> texts =
            key.form == SettingForm::Flag ? std::vector<std::string>{"true"} : option->results();
        applySetting(key, texts, "--" + std::string(key.name), settings);
    }
    return settings;
}

std::unique_ptr<CLI::App> makeApp(std::string& inspectModule) {
    auto app = std::make_unique<CLI::App>(kDescription, "orvane-render");
    app->footer(std::string(kFooter) + exitCodeText());
    declareOptions(*app, inspectModule);
    return app;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    const std::unique_ptr<CLI::App> app = makeApp(result.inspectModule);
    try {
        app->parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        result.mode = CommandLine::Mode::Help;
        result.helpText = app->help();
        return result;
    } catch (const CLI::CallForAllHelp&) {
        result.mode = CommandLine::Mode::Help;
        result.helpText = app->help("", CLI::AppFormatMode::All);
        return result;
    } catch (const CLI::ParseError& e) {
        throw usageError(std::string(e.what()) + " (see orvane-render --help)");
    }
    if (app->got_subcommand("inspect")) {
        result.mode = CommandLine::Mode::Inspect;
        return result;
    }
    result.flags = settingsFrom(*app);
    if (app->count("--version")) {
        result.mode = CommandLine::Mode::Version;
        return result;
    }
    if (app->count("--scene")) result.scenePath = app->get_option("--scene")->results().front();
    return result;
}

std::vector<std::string> longOptionNames() {
    std::string unused;
    const std::unique_ptr<CLI::App> app = makeApp(unused);
    std::vector<std::string> names;
    for (const CLI::Option* option : app->get_options())
        for (const std::string& name : option->get_lnames()) names.push_back(name);
    return names;
}

} // namespace OrvaneTools
