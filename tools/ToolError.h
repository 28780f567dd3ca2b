// The failures orvane-render reports to its user, each with the exit code a script can tell apart.
#pragma once

#include <stdexcept>
#include <string>

namespace OrvaneTools {

enum class ExitCode : int {
    Success = 0,
    Usage = 2,        // a bad flag, value, file extension or scene file: nothing was rendered
    ModuleLoad = 3,   // the effect module cannot be loaded
    EffectError = 4,  // the effect returned an error code
    OutputWrite = 5,  // an image could not be written
};

class ToolError : public std::runtime_error {
public:
    ToolError(ExitCode code, const std::string& message) : std::runtime_error(message), exitCode(code) {}
    ExitCode code() const { return exitCode; }

private:
    ExitCode exitCode;
};

// A bad flag, value or scene: reported before anything is rendered.
inline ToolError usageError(const std::string& message) { return ToolError(ExitCode::Usage, message); }

} // namespace OrvaneTools
