#include "KeyframeObjects.h"

#include "ImageFormat.h"
#include "KeyframeEntries.h"
#include "ToolError.h"

#include <nlohmann/json.hpp>

namespace OrvaneTools {

namespace {

using nlohmann::json;

// The fields besides the time and the value, in the order their modifiers are written.
enum class FieldForm { Interpolation, Ease, Offset };
struct Field {
    const char* name;
    FieldForm form;
};
constexpr Field kFields[] = {{"in", FieldForm::Interpolation},   {"out", FieldForm::Interpolation},
                             {"ease_in", FieldForm::Ease},       {"ease_out", FieldForm::Ease},
                             {"tangent_in", FieldForm::Offset},  {"tangent_out", FieldForm::Offset}};

std::string shown(const json& value) {
    std::string text = value.dump();
    return text.size() > 60 ? text.substr(0, 57) + "..." : text;
}

class ObjectReader {
public:
    ObjectReader(const json& entry, const std::string& key, std::size_t place,
                 const std::function<std::string(const json&)>& valueText, const std::string& what)
        : entry(entry), key(key), place(place), valueText(valueText), what(what) {}

    std::string text() const {
        if (!entry.contains("time") || !entry.contains(key))
            throw usageError(what + ": keyframe " + std::to_string(place) + ": expected {\"time\": T, \"" + key +
                             "\": V} with the modifiers' fields, got " + shown(entry));
        const std::string time = valueText(entry.at("time")), value = valueText(entry.at(key));
        // Modifiers are fields here: a colon in the time or the value would read as one.
        if (time.find(':') != std::string::npos) refuse(time, "\"time\"", "a time in seconds", shown(entry.at("time")));
        if (value.find(':') != std::string::npos)
            refuse(time, "\"" + key + "\"", "a value without modifiers (they are fields of the object)",
                   shown(entry.at(key)));
        std::string out = time + ":" + value;
        for (const auto& [name, value] : entry.items())
            if (name != "time" && name != key && !known(name))
                refuse(time, "\"" + name + "\"", "a field of a keyframe: time, " + key + ", " + fieldNames(),
                       shown(value));
        for (const Field& field : kFields)
            if (entry.contains(field.name)) out += ":" + std::string(field.name) + "=" + fieldText(time, field);
        return out;
    }

private:
    static bool known(const std::string& name) {
        for (const Field& field : kFields)
            if (name == field.name) return true;
        return false;
    }

    static std::string fieldNames() {
        std::vector<std::string> names;
        for (const Field& field : kFields) names.push_back(field.name);
        return spokenList(names);
    }

    [[noreturn]] void refuse(const std::string& time, const std::string& field, const std::string& expected,
                             const std::string& given) const {
        throw usageError(what + ": " + keyframeName(place, time) + ", " + field + ": expected " + expected + ", got " +
                         given);
    }

    std::string fieldText(const std::string& time, const Field& field) const {
        const json& value = entry.at(field.name);
        const std::string name = std::string("\"") + field.name + "\"";
        switch (field.form) {
        case FieldForm::Interpolation:
            if (!value.is_string() || value.get<std::string>().find_first_of(":=") != std::string::npos)
                refuse(time, name, spokenList(interpolationNames()), shown(value));
            return value.get<std::string>();
        case FieldForm::Ease:
            if (!value.is_object() || value.size() != 2 || !value.contains("speed") || !value.contains("influence") ||
                !value.at("speed").is_number() || !value.at("influence").is_number())
                refuse(time, name, "{\"speed\": S, \"influence\": I} (I in percent)", shown(value));
            return valueText(value.at("speed")) + "," + valueText(value.at("influence"));
        case FieldForm::Offset:
            if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number())
                refuse(time, name, "[DX, DY] in pixels", shown(value));
            return valueText(value[0]) + "," + valueText(value[1]);
        }
        return "";
    }

    const json& entry;
    const std::string& key;
    std::size_t place;
    const std::function<std::string(const json&)>& valueText;
    const std::string& what;
};

} // namespace

std::string keyframeObjectText(const json& entry, const std::string& key, std::size_t place,
                               const std::function<std::string(const json&)>& valueText, const std::string& what) {
    return ObjectReader(entry, key, place, valueText, what).text();
}

} // namespace OrvaneTools
