// The options that set something of a run, one row each (SettingOptions.cpp): the command line declares
// them, a scene file takes their long names as keys, --help lists them, and merging a scene with the command
// line copies them, all from the row. Both read a value from the same text with the same parser, so they
// accept the same values and refuse them in the same words.
#pragma once

#include "RenderSettings.h"

#include <string>
#include <vector>

namespace OrvaneTools {

// The environment variable that names the module when --module is not given.
constexpr const char* kModuleVariable = "ORVANE_MODULE";

// Which JSON forms a scene may use for a key besides the option's text as a string.
enum class SettingForm {
    Text,         // only the text: "shape": "radial"
    Number,       // or a number: "fps": 24
    Pair,         // or two numbers: "size": [640, 360]
    NumberOrPair, // or either: "downsample": 2, [2, 4]
    Entries,      // repeatable: a text, a number, {"time": T, "<key>": V, ...}, or a list of these
    PairEntries,  // the same, and a value may be two numbers: "point1": [10, 20], {"time": 1, "point1": [10, 20]}
    Flag,         // true or false; on the command line the option takes no value
};

// Whether an option takes any number of entries (given again on the command line, a list in a scene).
inline bool takesEntries(SettingForm form) { return form == SettingForm::Entries || form == SettingForm::PairEntries; }

struct SettingOption {
    const char* name;     // the long option name and scene key: "point1"
    char shortName;       // the one-letter name ('o' for -o); 0 for none
    std::string typeName; // the value's form in --help: "X,Y"; empty for a flag
    std::string help;     // what --help says of it
    SettingForm form;
    char separator;       // Pair: what joins the two numbers in the text form ("640x360", "10,20", "0-23")
    std::string notInScene; // why a scene may not give this setting; empty when it may
    // Parses the texts (one, or one per entry of a repeatable option; "true" or "false" for a flag) into its
    // field of `into`; `what` names the setting in messages.
    void (*store)(const std::vector<std::string>& texts, const std::string& what, RenderSettings& into);
    // Copies its field from `from` into `into` when `from` has it.
    void (*take)(const RenderSettings& from, RenderSettings& into);
    const char* format = nullptr; // the output format the setting is for ("exr"); nullptr for all of them
    void (*drop)(RenderSettings& from) = nullptr; // empties its field
};

// In the order --help lists them.
const std::vector<SettingOption>& settingOptions();
// nullptr for a name that is no setting.
const SettingOption* findSettingOption(const std::string& name);

// Stores the texts with the option's parser and records `what` as the setting's name in later messages.
void applySetting(const SettingOption& option, const std::vector<std::string>& texts, const std::string& what,
                  RenderSettings& into);

} // namespace OrvaneTools
