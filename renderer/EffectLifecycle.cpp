#include "EffectLifecycle.h"

#include "ErrorNames.h"
#include "SettingOptions.h"

#include "host/Module.h"

#include <cstring>
#include <stdexcept>

namespace OrvaneTools {

std::string modulePathOf(const std::optional<std::string>& given) {
    if (given) return *given;
    if (std::optional<std::string> beside = OrvaneHost::defaultModulePath()) return *beside;
    throw ToolError(ExitCode::ModuleLoad,
                    std::string("orvane-render cannot find its own folder, where the effect module is by default, "
                                "and loads none from anywhere else: give --module PATH or set ") +
                        kModuleVariable);
}

std::unique_ptr<OrvaneHost::Host> loadHost(const std::string& modulePath) {
    try {
        return std::make_unique<OrvaneHost::Host>(modulePath);
    } catch (const std::runtime_error& e) {
        throw ToolError(ExitCode::ModuleLoad, e.what());
    }
}

std::string aboutText(OrvaneHost::Host& host) {
    if (PF_Err err = host.about()) effectFailed(host, "About", err);
    const char* msg = host.outData().return_msg;
    return std::string(msg, strnlen(msg, sizeof(host.outData().return_msg)));
}

std::string effectMessage(OrvaneHost::Host& host) {
    const char* msg = host.outData().return_msg;
    const std::size_t length = strnlen(msg, sizeof(host.outData().return_msg));
    if (length == 0) return std::string();
    return "; the effect says: " + std::string(msg, length);
}

ExitCode exitCodeOf(PF_Err err) { return err == PF_Err_OUT_OF_MEMORY ? ExitCode::OutOfMemory : ExitCode::EffectError; }

void effectFailed(OrvaneHost::Host& host, const std::string& during, PF_Err err) {
    throw ToolError(exitCodeOf(err), during + " returned " + describeError(err) + effectMessage(host));
}

void GlobalSetdown::finish() {
    armed = false;
    if (PF_Err err = host.globalSetdown()) effectFailed(host, "global setdown", err);
}

} // namespace OrvaneTools
