#include "KeyframeEntries.h"

#include "ImageFormat.h"
#include "ToolError.h"
#include "ValueParsing.h"

#include "host/Scene.h"
#include "params/ParamIndex.h"

#include <array>
#include <cmath>
#include <set>

namespace OrvaneTools {

namespace {

using OrvaneHost::Interpolation;
using OrvaneHost::StreamValue;

StreamValue shapeValue(const std::string& text, const std::string& what) {
    return OrvaneHost::popupValue(parseShape(text, what));
}
StreamValue repeatValue(const std::string& text, const std::string& what) {
    return OrvaneHost::popupValue(parseRepeat(text, what));
}
StreamValue pointValue(const std::string& text, const std::string& what) {
    const LayerPoint p = parsePoint(text, what);
    return OrvaneHost::pointValue(p.x, p.y);
}
StreamValue colorValue(const std::string& text, const std::string& what) {
    const Rgba8 c = parseColor(text, what);
    return OrvaneHost::colorValue(PF_Pixel8{c.alpha, c.red, c.green, c.blue});
}
StreamValue opacityValue(const std::string& text, const std::string& what) {
    return OrvaneHost::sliderValue(parseOpacityPercent(text, what));
}

// Influence as the user gives it, in percent of the segment's duration.
constexpr double kPercent = 100.0;
// A tangent may reach from one end of the points' range to the other.
constexpr double kMaxTangentPixels = 2 * kMaxPointPixels;

struct NamedInterpolation {
    const char* name;
    Interpolation interpolation;
};
constexpr NamedInterpolation kInterpolations[] = {
    {"linear", Interpolation::Linear}, {"hold", Interpolation::Hold}, {"bezier", Interpolation::Bezier}};

// The modifiers that set both sides at once; "ease" is bezier with the default ease.
constexpr NamedInterpolation kBothSides[] = {
    {"hold", Interpolation::Hold}, {"ease", Interpolation::Bezier}, {"linear", Interpolation::Linear}};

std::vector<std::string> splitAtColons(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1)
        parts.push_back(text.substr(start, colon - start));
    parts.push_back(text.substr(start));
    return parts;
}

// One keyframe entry's modifiers, read into its sides and tangents.
class KeyframeReader {
public:
    KeyframeReader(const std::string& text, const std::string& what, const ControlForm& form, ControlEntry& entry)
        : text(text), what(what), form(form), entry(entry) {}

    std::string name() const { return what + ": " + keyframeName(entry.place, entry.timeText) + " ('" + text + "')"; }

    [[noreturn]] void refuse(const std::string& expected, const std::string& given) const {
        throw usageError(name() + ": expected " + expected + ", got '" + given + "'");
    }
    // The same for one part of a modifier: "ease_in influence".
    [[noreturn]] void refuse(const std::string& part, const std::string& expected, const std::string& given) const {
        throw usageError(name() + ", " + part + ": expected " + expected + ", got '" + given + "'");
    }

    void read(const std::string& modifier) {
        const auto equals = modifier.find('=');
        const std::string key = modifier.substr(0, equals);
        const std::string argument = equals == std::string::npos ? std::string() : modifier.substr(equals + 1);
        if (!seen.insert(key).second) refuse("each modifier once", modifier);
        if (equals == std::string::npos) {
            for (const NamedInterpolation& both : kBothSides)
                if (key == both.name) {
                    set(Side::In, both.interpolation, modifier);
                    set(Side::Out, both.interpolation, modifier);
                    return;
                }
        } else if (key == "in" || key == "out") {
            return set(key == "in" ? Side::In : Side::Out, interpolationNamed(argument, modifier), modifier);
        } else if (key == "ease_in" || key == "ease_out") {
            return ease(key == "ease_in" ? Side::In : Side::Out, argument, modifier);
        } else if (key == "tangent_in" || key == "tangent_out") {
            return tangent(key == "tangent_in" ? entry.tangentIn : entry.tangentOut, argument, modifier);
        }
        refuse("hold, ease, linear, in=, out=, ease_in=, ease_out=, tangent_in= or tangent_out=", modifier);
    }

    // What the modifiers left unset is linear; a popup only holds.
    void finish() {
        for (Side side : {Side::In, Side::Out}) {
            OrvaneHost::KeyframeSide& target = sideOf(side);
            const Interpolation unset = form.popup ? Interpolation::Hold : Interpolation::Linear;
            target.interpolation = chosen[std::size_t(side)].value_or(unset);
            if (form.popup && target.interpolation != Interpolation::Hold)
                refuse(std::string("hold or nothing (a ") + form.noun +
                           " keyframe is always held: it switches at its time)",
                       chosenBy[std::size_t(side)]);
        }
    }

private:
    enum class Side { In, Out };

    OrvaneHost::KeyframeSide& sideOf(Side side) { return side == Side::In ? entry.in : entry.out; }

    void set(Side side, Interpolation interpolation, const std::string& modifier) {
        auto& current = chosen[std::size_t(side)];
        if (current && *current != interpolation)
            refuse(std::string("one interpolation for the ") + (side == Side::In ? "in" : "out") + " side, not also '" +
                       chosenBy[std::size_t(side)] + "'",
                   modifier);
        current = interpolation;
        chosenBy[std::size_t(side)] = modifier;
    }

    Interpolation interpolationNamed(const std::string& argument, const std::string& modifier) const {
        for (const NamedInterpolation& named : kInterpolations)
            if (argument == named.name) return named.interpolation;
        refuse("an interpolation: " + spokenList(interpolationNames()), modifier);
    }

    // "S,I": speed and influence in percent; the side becomes bezier.
    void ease(Side side, const std::string& argument, const std::string& modifier) {
        const auto comma = argument.find(',');
        const std::string expected = "S,I: a speed and an influence from 0.1 to 100 percent";
        if (comma == std::string::npos) refuse(expected, modifier);
        OrvaneHost::Ease& ease = sideOf(side).ease;
        const std::string key = modifier.substr(0, modifier.find('='));
        ease.speed = parseDecimal(argument.substr(0, comma), name() + ", " + key + " speed");
        const std::string influenceText = argument.substr(comma + 1);
        const double influence = parseDecimal(influenceText, name() + ", " + key + " influence");
        if (!(influence >= OrvaneHost::kMinInfluence * kPercent && influence <= OrvaneHost::kMaxInfluence * kPercent))
            refuse(key + " influence", "an influence from 0.1 to 100 percent of the segment", influenceText);
        ease.influence = influence / kPercent;
        set(side, Interpolation::Bezier, modifier);
    }

    void tangent(OrvaneHost::Tangent& target, const std::string& argument, const std::string& modifier) {
        if (!form.point)
            refuse(std::string("no tangent: only point1 and point2 move along paths, not a ") + form.noun, modifier);
        const auto comma = argument.find(',');
        const std::string expected = "DX,DY in pixels from -65534 to 65534";
        if (comma == std::string::npos) refuse(expected, modifier);
        const std::string key = modifier.substr(0, modifier.find('='));
        try {
            target.dx = parseDecimal(argument.substr(0, comma), name());
            target.dy = parseDecimal(argument.substr(comma + 1), name());
        } catch (const ToolError&) {
            refuse(key, expected, argument);
        }
        if (std::fabs(target.dx) > kMaxTangentPixels || std::fabs(target.dy) > kMaxTangentPixels)
            refuse(key, expected, argument);
    }

    const std::string& text;
    const std::string& what;
    const ControlForm& form;
    ControlEntry& entry;
    std::set<std::string> seen;
    std::array<std::optional<Interpolation>, 2> chosen;
    std::array<std::string, 2> chosenBy;
};

ControlEntry parseEntry(const std::string& text, std::size_t place, const std::string& what, const ControlForm& form) {
    ControlEntry entry;
    entry.place = place;
    entry.written = text;
    const std::vector<std::string> parts = splitAtColons(text);
    if (parts.size() == 1) {
        entry.value = form.parse(text, what);
        return entry;
    }
    entry.timeText = parts[0];
    KeyframeReader reader(text, what, form, entry);
    entry.seconds =
        parseSeconds(parts[0], what + ": keyframe " + std::to_string(place) + " ('" + text + "'), its time");
    entry.value = form.parse(parts[1], reader.name());
    for (std::size_t i = 2; i < parts.size(); ++i) reader.read(parts[i]);
    reader.finish();
    return entry;
}

} // namespace

const ControlForm kShapeForm{"shape", Orvane::kParamShape, "shape", "S", shapeValue, true, false};
const ControlForm kRepeatForm{"repeat", Orvane::kParamRepeat, "repeat mode", "R", repeatValue, true, false};
const ControlForm kPoint1Form{"point1", Orvane::kParamPoint1, "point", "X,Y", pointValue, false, true};
const ControlForm kPoint2Form{"point2", Orvane::kParamPoint2, "point", "X,Y", pointValue, false, true};
const ControlForm kColorForm{"color", Orvane::kParamColor, "colour", "C", colorValue, false, false};
const ControlForm kOpacityForm{"opacity", Orvane::kParamOpacity, "opacity", "P", opacityValue, false, false};

const std::vector<const ControlForm*>& controlForms() {
    static const std::vector<const ControlForm*> forms = {&kShapeForm,  &kPoint1Form, &kPoint2Form,
                                                          &kRepeatForm, &kColorForm,  &kOpacityForm};
    return forms;
}

std::vector<ControlEntry> parseControlEntries(const std::vector<std::string>& texts, const std::string& what,
                                              const ControlForm& form) {
    std::vector<ControlEntry> entries;
    entries.reserve(texts.size());
    for (const std::string& text : texts) entries.push_back(parseEntry(text, entries.size() + 1, what, form));
    return entries;
}

std::string keyframeName(std::size_t place, const std::string& timeText) {
    return "keyframe " + std::to_string(place) + " at " + timeText + " s";
}

std::vector<std::string> interpolationNames() {
    std::vector<std::string> names;
    for (const NamedInterpolation& named : kInterpolations) names.push_back(named.name);
    return names;
}

} // namespace OrvaneTools
