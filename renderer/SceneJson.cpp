#include "SceneJson.h"

#include "ToolError.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace OrvaneTools {

namespace {

using nlohmann::json;

// Builds the value from the parser's events, as the library's own builder does but checking as it goes.
// (The library's builder with a callback looks through a whole array for discarded values after every
// object in it: quadratic in the number of keyframe objects.)
class CheckedBuilder final : public nlohmann::json_sax<json> {
public:
    CheckedBuilder(const std::string& source, std::size_t maxDepth) : source(source), maxDepth(maxDepth) {}

    json take() { return std::move(root); }

    bool null() override { return place(json(nullptr)) != nullptr; }
    bool boolean(bool value) override { return place(json(value)) != nullptr; }
    bool number_integer(number_integer_t value) override { return place(json(value)) != nullptr; }
    bool number_unsigned(number_unsigned_t value) override { return place(json(value)) != nullptr; }
    bool number_float(number_float_t value, const string_t& text) override {
        // strtod reads a number too small for a double as 0; the text shows it was not meant to be.
        const std::string mantissa = text.substr(0, text.find_first_of("eE"));
        if (value == 0 && mantissa.find_first_of("123456789") != std::string::npos)
            throw usageError(where() + ": the number " + text + " is too small to hold (it would be read as 0)");
        return place(json(value)) != nullptr;
    }
    bool string(string_t& value) override { return place(json(std::move(value))) != nullptr; }
    bool binary(binary_t&) override { return false; } // JSON text holds none

    bool start_object(std::size_t) override { return open(json::object()); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& name) override {
        json& object = *containers.back();
        if (object.contains(name)) throw usageError(source + ": the key \"" + name + "\" is given twice");
        if (containers.size() == 1) topKey = name;
        slot = &object[name];
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
        if (dynamic_cast<const json::out_of_range*>(&e))
            throw usageError(source + ": a number is too large: " + libraryMessage(e));
        throw usageError(source + ": not valid JSON: " + libraryMessage(e));
    }

private:
    // The library's message without its "[json.exception.parse_error.101] " prefix.
    static std::string libraryMessage(const nlohmann::detail::exception& e) {
        const std::string text = e.what();
        const auto close = text.find("] ");
        return text.rfind("[json.exception.", 0) == 0 && close != std::string::npos ? text.substr(close + 2) : text;
    }

    // The scene and, inside its object, the key being read: "scene a.json: \"color\"".
    std::string where() const { return topKey.empty() ? source : source + ": \"" + topKey + "\""; }

    // Puts the value where the next one goes: the root, the end of the open array, or the key just read.
    json* place(json&& value) {
        json* at = &root;
        if (!containers.empty()) {
            json& container = *containers.back();
            if (container.is_array()) {
                container.push_back(std::move(value));
                return &container.back();
            }
            at = slot;
        }
        *at = std::move(value);
        return at;
    }

    bool open(json&& container) {
        if (containers.size() >= maxDepth) {
            const json& shown = topKey.empty() ? root : root.at(topKey);
            throw usageError(where() + ": values are nested more than " + std::to_string(maxDepth) +
                             " deep: " + shortJson(shown));
        }
        // The open containers' addresses stay put: each is the last value of its parent until it closes.
        containers.push_back(place(std::move(container)));
        return true;
    }

    bool close() {
        containers.pop_back();
        return true;
    }

    const std::string& source;
    const std::size_t maxDepth;
    json root;
    std::vector<json*> containers; // the open arrays and objects, the innermost last
    json* slot = nullptr;          // the value of the key just read
    std::string topKey;            // the key of the scene's object being read
};

// Appends the value's text until `out` holds more than `width` characters.
void appendShort(std::string& out, const json& value, std::size_t width) {
    if (out.size() > width) return;
    if (value.is_object() || value.is_array()) {
        out += value.is_object() ? '{' : '[';
        bool first = true;
        for (auto it = value.begin(); it != value.end() && out.size() <= width; ++it, first = false) {
            if (!first) out += ",";
            if (value.is_object()) out += json(it.key()).dump() + ":";
            appendShort(out, *it, width);
        }
        out += value.is_object() ? '}' : ']';
        return;
    }
    // A string is cut before it is quoted, so that a long one is not copied whole.
    const json& shown = value.is_string() ? json(value.get_ref<const std::string&>().substr(0, width + 1)) : value;
    out += shown.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace

json readJson(const std::string& text, const std::string& source, std::size_t maxDepth) {
    CheckedBuilder builder(source, maxDepth);
    json::sax_parse(text, &builder);
    return builder.take();
}

std::string shortJson(const json& value, std::size_t width) {
    std::string text;
    appendShort(text, value, width);
    if (text.size() > width) text = text.substr(0, width - 3) + "...";
    return text;
}

} // namespace OrvaneTools
