#include "EffectContract.h"

#include "ToolError.h"

#include "host/ParameterControls.h"
#include "params/ParamIndex.h"

#include <vector>

namespace OrvaneTools {

namespace {

constexpr std::size_t kDifferencesShown = 3;

std::string parametersText(std::size_t count) {
    return std::to_string(count) + " parameters (the input layer and " + std::to_string(count ? count - 1 : 0) +
           " controls)";
}

// How the registration differs from the contract, in the order of the parameters.
std::vector<std::string> differences(const OrvaneHost::Host& host) {
    const auto& streams = host.streams();
    std::vector<std::string> found;
    if (streams.size() != std::size_t(Orvane::kParamCount))
        found.push_back("it registers " + parametersText(streams.size()) + ", this effect " +
                        parametersText(std::size_t(Orvane::kParamCount)));
    for (PF_ParamIndex index = 0; index < Orvane::kParamCount && std::size_t(index) < streams.size(); ++index) {
        const OrvaneHost::ParamStream& stream = streams[std::size_t(index)];
        const PF_ParamType expected = Orvane::kParamTypes[index];
        const std::string which = "parameter " + std::to_string(index) + " (\"" + stream.def.name + "\")";
        if (stream.def.param_type != expected) {
            found.push_back(which + " is a " + OrvaneHost::controlKind(stream.def.param_type) + ", in this effect a " +
                            OrvaneHost::controlKind(expected));
            continue;
        }
        const char* choices = Orvane::popupChoicesAt(index);
        if (choices && stream.choices != choices)
            found.push_back(which + " offers \"" + stream.choices + "\", in this effect \"" + choices + "\"");
    }
    return found;
}

} // namespace

void checkThisEffect(const OrvaneHost::Host& host, const std::string& modulePath) {
    const std::vector<std::string> found = differences(host);
    if (found.empty()) return;
    std::string text;
    for (std::size_t i = 0; i < found.size() && i < kDifferencesShown; ++i) text += (i ? "; " : "") + found[i];
    if (found.size() > kDifferencesShown) text += "; and " + std::to_string(found.size() - kDifferencesShown) + " more";
    throw ToolError(ExitCode::ModuleLoad, "module " + modulePath + " is not this effect: " + text);
}

} // namespace OrvaneTools
