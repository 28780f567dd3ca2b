#include "SettingOptions.h"

#include "ImageFormat.h"
#include "ToolError.h"
#include "ValueParsing.h"

#include <optional>
#include <type_traits>

namespace OrvaneTools {

namespace {

using Texts = std::vector<std::string>;
using S = RenderSettings;
using F = SettingForm;

// "png|pam|pfm"
std::string alternatives(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "|") + name;
    return text;
}

template <class Field> struct IsList : std::false_type {};
template <class Entry> struct IsList<std::optional<std::vector<Entry>>> : std::true_type {};

// Parses the text into `Field`, or for a repeatable option each text into an entry of its list.
template <auto Field, auto Parse> void store(const Texts& texts, const std::string& what, RenderSettings& into) {
    auto& field = into.*Field;
    if constexpr (IsList<std::decay_t<decltype(field)>>::value) {
        field.emplace();
        for (const std::string& text : texts) field->push_back(Parse(text, what));
    } else {
        field = Parse(texts.front(), what);
    }
}

template <auto Field> void take(const RenderSettings& from, RenderSettings& into) {
    if (from.*Field) into.*Field = from.*Field;
}

template <auto Field> void drop(RenderSettings& from) { (from.*Field).reset(); }

// One row: `Field` is where the value goes, `Parse` reads it from its text.
template <auto Field, auto Parse>
SettingOption option(const char* name, char shortName, std::string typeName, std::string help, SettingForm form,
                     char separator = 0, std::string notInScene = "") {
    return {name, shortName, std::move(typeName), std::move(help), form, separator, std::move(notInScene),
            store<Field, Parse>, take<Field>};
}

// An option that sets an effect control: every entry, a plain value or a keyframe (KeyframeEntries.h), goes
// into the control's list, which a merge copies whole.
template <const ControlForm& Form>
void storeEntries(const Texts& texts, const std::string& what, RenderSettings& into) {
    into.controls[Form.index] = parseControlEntries(texts, what, Form);
}

template <const ControlForm& Form> void takeEntries(const RenderSettings& from, RenderSettings& into) {
    const auto given = from.controls.find(Form.index);
    if (given != from.controls.end()) into.controls[Form.index] = given->second;
}

template <const ControlForm& Form> SettingOption control(std::string help) {
    const std::string value = Form.valueName;
    return {Form.option,
            0,
            value + "|T:" + value + "[:MOD]",
            std::move(help) + "; T:" + value + " is a keyframe at T seconds" +
                (Form.popup ? ", held until the next" : "") + "; repeatable",
            Form.point ? F::PairEntries : F::Entries,
            Form.point ? ',' : char(0),
            "",
            storeEntries<Form>,
            takeEntries<Form>};
}

// A row of a setting for one output format only: the format's name begins its help.
template <auto Field, auto Parse>
SettingOption formatOption(const char* format, const char* name, std::string typeName, std::string help,
                           SettingForm form) {
    SettingOption row = option<Field, Parse>(name, 0, std::move(typeName), std::move(help), form);
    row.format = format;
    row.drop = drop<Field>;
    return row;
}

template <class Choice> std::string choiceNames(const std::vector<Choice>& choices) {
    std::vector<std::string> names;
    for (const Choice& choice : choices) names.push_back(choice.name);
    return alternatives(names);
}

// "fast: ..., default: ..."
template <class Choice> std::string choiceHelp(const std::vector<Choice>& choices) {
    std::string text;
    for (const Choice& choice : choices) text += std::string(text.empty() ? "" : "; ") + choice.name + ": " + choice.help;
    return text;
}

std::string fileName(const std::string& text, const std::string& what) {
    if (text.find('\0') != std::string::npos)
        throw usageError(what + ": a file name cannot hold a NUL character, got '" + text + "'");
    if (text.empty()) throw usageError(what + ": the file name is empty");
    return text;
}

bool flagValue(const std::string& text, const std::string&) { return text == "true"; }


} // namespace

// A new option is one row here and the field of RenderSettings the row names (with a parser in
// ValueParsing.h when none there fits), or for an effect control its form (KeyframeEntries.h); the command
// line, scene files, --help and merging take it from the row, and README's section on orvane-render
// documents it (a test compares that section with --help). The options that set nothing of the run (--scene, --version, --help and the inspect command) are declared by
// the command line alone (CommandLine.cpp).
const std::vector<SettingOption>& settingOptions() {
    static const std::vector<SettingOption> options = {
        option<&S::output, fileName>("output", 'o', "OUT",
                                     "output image: " + spokenList(writtenFormatNames(), ".") + "; - for standard output",
                                     F::Text),
        option<&S::format, parseImageFormat>("format", 0, alternatives(streamedFormatNames()),
                                             "how frames go to standard output with -o -, or the format of a "
                                             "file name without an extension, such as ./- (a file's format is "
                                             "otherwise its extension)",
                                             F::Text),
        option<&S::module, fileName>("module", 0, "PATH",
                                     std::string("the effect module file (default: $") + kModuleVariable +
                                         ", else the one beside this program)",
                                     F::Text, 0,
                                     std::string("a scene cannot name the effect module, since loading a module "
                                                 "runs its code; give --module or set ") +
                                         kModuleVariable),
        option<&S::size, parseSize>("size", 0, "WxH", "layer size (default 1920x1080)", F::Pair, 'x'),
        option<&S::depth, parseDepth>("depth", 0, "8|16|32", "bits per channel: 8, 16 or 32 (float); default 8",
                                      F::Number),
        option<&S::downsample, parseDownsample>("downsample", 0, "N|NxM",
                                                "render at 1/N horizontally and 1/M vertically; buffers are "
                                                "ceil(W/N) x ceil(H/M)",
                                                F::NumberOrPair, 'x'),
        control<kShapeForm>("ramp shape, " + alternatives(choiceNames(Orvane::kShapeChoices))),
        control<kRepeatForm>("what the ramp does beyond its points, " +
                             alternatives(choiceNames(Orvane::kRepeatChoices))),
        control<kPoint1Form>("Point 1 in layer pixels (default 0,H/2)"),
        control<kPoint2Form>("Point 2 in layer pixels (default W,H/2)"),
        control<kColorForm>("colour #RRGGBB or #RRGGBBAA"),
        control<kOpacityForm>("opacity in percent (-100 to 200)"),
        option<&S::seconds, parseSeconds>("time", 0, "T", "render the frame at T seconds (default 0)", F::Number),
        option<&S::fps, parseFps>("fps", 0, "F", "frames per second: the time step and the --frames times (default 30)",
                                  F::Number),
        option<&S::frames, parseFrames>("frames", 0, "A-B", "render frames A to B at time frame / fps", F::Pair, '-'),
        option<&S::threads, parseThreads>("threads", 0, "N", "the host's worker threads (default: the machine's)",
                                          F::Number),
        option<&S::timeScale, parseTimeScale>("time-scale", 0, "N",
                                              "the host's time units per second, 1 to 120000 (default 120000)",
                                              F::Number),
        option<&S::maxMemory, parseMemorySize>("max-memory", 0, "SIZE",
                                               "the most memory the frames may take, e.g. 512M or 4G (default: the "
                                               "machine's memory); a sequence writes as many frames at once as fit",
                                               F::Number),
        formatOption<&S::pngCompression, parsePngCompression>(
            "png", "png-compression", choiceNames(pngCompressions()),
            "PNG: how hard to compress (default: default); " + choiceHelp(pngCompressions()), F::Text),
        formatOption<&S::exrCompression, parseExrCompression>(
            "exr", "exr-compression", "NAME",
            "EXR: the compression (default: zip); " + choiceHelp(exrCompressions()), F::Text),
        formatOption<&S::half, flagValue>("exr", "half", "",
                                          "EXR: store 16-bit half floats, as compositing pipelines usually keep them, "
                                          "instead of 32-bit floats",
                                          F::Flag),
        option<&S::pressRefresh, flagValue>("press-refresh", 0, "", "press the effect's Refresh button before rendering",
                                            F::Flag),
        option<&S::force, flagValue>("force", 0, "", "replace output files that this user may not write", F::Flag),
        option<&S::skipExisting, flagValue>("skip-existing", 0, "",
                                            "keep the frames whose files exist and render only the missing ones",
                                            F::Flag),
        option<&S::verbose, flagValue>("verbose", 'v', "",
                                       "print the registration, the controls, and per frame the value each control "
                                       "was checked out with, the stream-value requests and the render time",
                                       F::Flag),
    };
    return options;
}

const SettingOption* findSettingOption(const std::string& name) {
    for (const SettingOption& option : settingOptions())
        if (name == option.name) return &option;
    return nullptr;
}

void applySetting(const SettingOption& option, const std::vector<std::string>& texts, const std::string& what,
                  RenderSettings& into) {
    if (texts.empty()) throw usageError(what + ": give at least one value");
    if (!takesEntries(option.form) && texts.size() != 1) throw usageError(what + ": give one value");
    option.store(texts, what, into);
    into.sources[option.name] = what;
}

} // namespace OrvaneTools
