// The effect module's life in the simulated host as orvane-render leads it: loading, global setup and the
// setdown that must follow it on every path out, and the effect's failures as the user reads them.
#pragma once

#include "ToolError.h"

#include "host/Host.h"

#include <memory>
#include <optional>
#include <string>

namespace OrvaneTools {

// The module to load: the one given (--module or ORVANE_MODULE), else the one beside orvane-render. Throws a
// ToolError (ExitCode::ModuleLoad) asking for --module when orvane-render cannot find its own folder: it
// never guesses another.
std::string modulePathOf(const std::optional<std::string>& given);

// Throws a ToolError (ExitCode::ModuleLoad) naming the file and the reason when the module cannot be loaded.
std::unique_ptr<OrvaneHost::Host> loadHost(const std::string& modulePath);

// Sends About; returns the effect's text, or throws as effectFailed.
std::string aboutText(OrvaneHost::Host& host);

// The effect's own message, which it leaves in return_msg when it has something to tell the user.
std::string effectMessage(OrvaneHost::Host& host);

// Memory that ran out is one failure wherever it happens, in the effect or in the host.
ExitCode exitCodeOf(PF_Err err);

// Throws a ToolError for an error code the effect returned `during` a command: named, with its own message.
[[noreturn]] void effectFailed(OrvaneHost::Host& host, const std::string& during, PF_Err err);

// Global setdown for every path out once global setup succeeded.
class GlobalSetdown {
public:
    explicit GlobalSetdown(OrvaneHost::Host& h) : host(h) {}
    ~GlobalSetdown() {
        if (armed) host.globalSetdown();
    }
    GlobalSetdown(const GlobalSetdown&) = delete;
    GlobalSetdown& operator=(const GlobalSetdown&) = delete;
    // Sends global setdown now; throws as effectFailed when the effect fails it.
    void finish();

private:
    OrvaneHost::Host& host;
    bool armed = true;
};

} // namespace OrvaneTools
