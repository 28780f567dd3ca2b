#include "PopupChoices.h"

#include <algorithm>
#include <cctype>

namespace OrvaneHost {

namespace {
std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
} // namespace

std::vector<std::string> popupChoiceNames(const std::string& choices) {
    std::vector<std::string> names;
    std::size_t begin = 0;
    while (true) {
        const std::size_t end = std::min(choices.find('|', begin), choices.size());
        names.push_back(choices.substr(begin, end - begin));
        if (end == choices.size()) return names;
        begin = end + 1;
    }
}

std::string popupChoiceName(const std::string& choices, A_long value) {
    const std::vector<std::string> names = popupChoiceNames(choices);
    return value >= 1 && std::size_t(value) <= names.size() ? names[std::size_t(value) - 1] : "?";
}

std::optional<A_long> popupChoiceValue(const std::string& choices, const std::string& name) {
    const std::vector<std::string> names = popupChoiceNames(choices);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (lowered(names[i]) == lowered(name)) return A_long(i + 1);
    return std::nullopt;
}

} // namespace OrvaneHost
