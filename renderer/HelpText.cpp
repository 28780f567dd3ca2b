#include "HelpText.h"

#include "ImageFormat.h"
#include "SceneFile.h"
#include "SettingOptions.h"
#include "ToolError.h"

#include <sstream>

namespace OrvaneTools {

namespace {

constexpr std::size_t kWidth = 104;

// `text` wrapped to kWidth: its first line after `label`, every other line indented by `indent`; a '\n' in
// `text` starts a new line.
std::string wrapped(const std::string& label, const std::string& text, std::size_t indent) {
    std::string out, line = label;
    if (line.size() < indent) line.resize(indent, ' ');
    bool lineHasWord = false;
    std::istringstream segments(text);
    for (std::string segment; std::getline(segments, segment);) {
        if (lineHasWord) {
            out += line + "\n";
            line.assign(indent, ' ');
            lineHasWord = false;
        }
        std::istringstream words(segment);
        for (std::string word; words >> word;) {
            if (lineHasWord && line.size() + 1 + word.size() > kWidth) {
                out += line + "\n";
                line.assign(indent, ' ');
                lineHasWord = false;
            }
            line += (lineHasWord ? " " : "") + word;
            lineHasWord = true;
        }
    }
    return out + line + "\n";
}

std::string paragraph(const std::string& text) { return wrapped("  ", text, 2); }

// Each format's line, saying also where it cannot go.
std::string formatLines() {
    std::string lines;
    for (const ImageFormat& format : imageFormats()) {
        std::string text = format.help;
        if (!format.streams()) text += "; not to standard output";
        if (!format.written()) text += "; not written by this build (its library was missing)";
        lines += wrapped("  ." + std::string(format.name), text, 8);
    }
    return lines;
}

// Each exit code with its meaning.
std::string exitCodeLines() {
    std::string lines;
    for (const ExitCodeMeaning& row : kExitCodeTable) lines += wrapped("  " + std::string(row.code), row.meaning, 9);
    return lines;
}

} // namespace

std::string helpDescription() {
    std::string text = "orvane-render [options] -o OUT\n"
           "orvane-render [options] -o - --format " +
           findSettingOption("format")->typeName +
           " | program\n"
           "orvane-render inspect MODULE\n"
           "orvane-render --version [--module PATH]\n\n" +
           wrapped("", "orvane-render drives the OrvaneVelmorathquist effect module as a compositing host does "
                       "(global setup, parameter setup, UI update, then smart pre-render and smart render for each "
                       "frame, global setdown at the end) and writes the frames it renders as image files, or one "
                       "after another to standard output.", 0);
    text.pop_back(); // the help puts its own line end after the description
    return text;
}

std::string helpFooter() {
    return "Values:\n" +
           paragraph("Times are seconds of layer time (the host counts 120000 units per second, or --time-scale's); "
                     "keyframes and frames sit at round(T x units per second). A colour is #RRGGBB or #RRGGBBAA "
                     "(alpha last, and unused: --opacity gives the ramp's alpha; quote it, the shell reads # as a "
                     "comment). Points are layer pixels at full resolution, decimals allowed. Numbers may carry an "
                     "exponent (1e3), all but the parts of WxH, NxM and A-B and the depth, which are digits. Unset "
                     "parameters keep the effect's own defaults: shape linear, repeat none, points (0, H/2) and (W, H/2), colour opaque "
                     "white, opacity 100.") +
           "\nKeyframes:\n" +
           paragraph("One plain value of --shape, --repeat, --point1, --point2, --color or --opacity sets the "
                     "control; entries T:V are keyframes at T seconds, and the frames of a sequence move with them. "
                     "Two or more --color or --opacity keyframes become the ramp's stops: the effect lays their "
                     "animation out along the ramp. A keyframe may end in modifiers (MOD), each after a colon:\n"
                     ":hold, :ease or :linear sets both its sides (ease: speed 0, influence 33.333 %); :in=I and "
                     ":out=I set one side to linear, hold or bezier; :ease_in=S,I and :ease_out=S,I make a side "
                     "bezier with speed S (units per second: percent for opacity, levels 0-255 for each channel of "
                     "a colour, pixels along the path for a point) and influence I (0.1 to 100 % of the time to the "
                     "neighbouring keyframe); :tangent_in=DX,DY and :tangent_out=DX,DY bend a point's path (pixels "
                     "from the keyframe's point). Between two keyframes the value holds when either side is hold, "
                     "runs straight when both are linear, and eases otherwise; a point moves along its path at the "
                     "speed its ease gives. Shape and repeat keyframes always hold: the value switches at the "
                     "keyframe's time. E.g. --color 0:#ff0000:hold --color 1:#0000ff, --opacity 0:0:ease "
                     "--opacity 2:100:ease, --point1 0:100,300:tangent_out=0,-200 "
                     "--point1 1:500,300:tangent_in=0,-200.") +
           "\nOutput:\n" + formatLines() +
           paragraph("With --frames, a run of # in the file name becomes the zero-padded frame number "
                     "(ramp-###.png).\n"
                     "A relative name is relative to the current folder. Each file is written under a short "
                     "temporary name beside it and renamed, so none is ever left half-written; a replaced file "
                     "keeps its permission bits, a symbolic link is written through to its target (not one that "
                     "another user left in a sticky folder everyone may write, as /tmp), and a file this user may "
                     "not write (read-only, or another user's) is replaced only with --force. With "
                     "--skip-existing a frame whose file exists is kept and not rendered, so a stopped sequence "
                     "resumes where it stopped and machines sharing a folder can each render a range of frames. Before a frame is made its memory is "
                     "estimated (about three copies of the frame) and a frame that needs more than the machine "
                     "has, or than --max-memory, is refused.\n"
                     "-o - writes the frames to standard output one after another, in the --format given (" +
                     spokenList(streamedFormatNames()) +
                     "), for a program that reads images from a pipe; messages, progress and --verbose then go to "
                     "standard error. (A file named \"-\" is written as ./- with --format, which names the "
                     "format of any file name without an extension.)") +
           "\nModule:\n" +
           paragraph(std::string("The effect module is the file --module names, else the file the environment "
                                 "variable ") +
                     kModuleVariable +
                     " names, else OrvaneVelmorathquist beside this program (where this program cannot find its "
                     "own folder, it asks for --module). A name without a folder is a file in the current folder, "
                     "never a library looked up on the system's search path. The file is checked before it is "
                     "loaded (a regular file of at most 512 MiB, a whole module for this system), and a module "
                     "that registers another effect is refused.") +
           "\nScene files:\n" +
           paragraph("A JSON object (at most 64 MiB, values nested at most " + std::to_string(kMaxSceneDepth) +
                     " deep) whose keys are the long option names, e.g.\n"
                     "{\"size\": \"640x360\", \"shape\": \"radial\", \"color\": [\"0:#203060\", \"1:#f0c040\"], "
                     "\"output\": \"ramp.png\"}.\n"
                     "Every key takes the option's text as a string and is read exactly as on the command line; "
                     "numbers, pairs [A, B], keyframe objects {\"time\": T, \"color\": C} and true/false for flags "
                     "may be written as JSON. A keyframe object takes the modifiers as fields: \"in\" and \"out\" "
                     "(\"linear\", \"hold\" or \"bezier\"), \"ease_in\" and \"ease_out\" ({\"speed\": S, "
                     "\"influence\": I}), \"tangent_in\" and \"tangent_out\" ([DX, DY]). A key given twice is "
                     "an error. A scene cannot name the module (that would run its code) nor another scene. "
                     "Options given on the command line override the file.") +
           "\nExit codes (docs/exit-codes.md):\n" + exitCodeLines();
}

} // namespace OrvaneTools
