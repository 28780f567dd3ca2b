// The settings of a run by name. Every long option of the command line that sets something is a key of a
// scene file too, and both read its value from the same text with the same parser, so they accept the same
// values and refuse them in the same words. A new option is one more row here.
#pragma once

#include "RenderSettings.h"

#include <string>
#include <vector>

namespace OrvaneTools {

// Which JSON forms a scene may use for a key besides the option's text as a string.
enum class SettingForm {
    Text,         // only the text: "shape": "radial"
    Number,       // or a number: "fps": 24
    Pair,         // or two numbers: "size": [640, 360]
    NumberOrPair, // or either: "downsample": 2, [2, 4]
    Entries,      // repeatable: a text, a number, {"time": T, "<key>": V}, or a list of these
    Flag,         // true or false; on the command line the option takes no value
};

struct SettingKey {
    const char* name; // the long option name and scene key
    SettingForm form;
    char separator;   // Pair: what joins the two numbers in the text form ("640x360", "10,20", "0-23")
    // Why a scene may not give this setting; nullptr when it may.
    const char* notInScene;
    // Parses the texts (one, or one per entry of a repeatable option; "true" or "false" for a flag) into
    // `into`; `what` names the setting in messages.
    void (*store)(const std::vector<std::string>& texts, const std::string& what, RenderSettings& into);
};

const std::vector<SettingKey>& settingKeys();
// nullptr for a name that is no setting.
const SettingKey* findSettingKey(const std::string& name);

// Stores the texts with the key's parser and records `what` as the setting's name in later messages.
void applySetting(const SettingKey& key, const std::vector<std::string>& texts, const std::string& what,
                  RenderSettings& into);

} // namespace OrvaneTools
