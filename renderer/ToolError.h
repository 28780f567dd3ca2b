// The failures orvane-render reports to its user, each with the exit code a script can tell apart, and the
// one table of those codes that --help prints (docs/exit-codes.md holds the same table).
#pragma once

#include <stdexcept>
#include <string>

namespace OrvaneTools {

enum class ExitCode : int {
    Success = 0,
    Internal = 1,       // a fault of orvane-render itself
    Usage = 2,          // a bad flag, value, file name or scene file, or too little memory: nothing was rendered
    ModuleLoad = 3,     // the effect module cannot be loaded (or, for inspect, read as an effect)
    EffectError = 4,    // the effect returned an error code
    OutputWrite = 5,    // an image could not be written
    StandardOutput = 6, // standard output is closed or full (frames of -o -, or a report)
    OutOfMemory = 7,    // memory ran out while rendering or writing
};

// A process stopped by signal N exits with 128 + N.
constexpr int kSignalExitBase = 128;

struct ExitCodeMeaning {
    const char* code;
    const char* meaning;
};

inline constexpr ExitCodeMeaning kExitCodeTable[] = {
    {"0", "every frame was rendered and written (with --skip-existing, frames whose files existed were kept)"},
    {"1", "a fault of orvane-render itself (please report it)"},
    {"2", "bad input: an option, value, scene file or output name, or a frame that needs more memory than "
          "allowed; nothing was rendered"},
    {"3", "the module cannot be loaded: missing, not a regular file, damaged, not built for this system, "
          "without the effect's entry point, or another effect; or none was named where orvane-render cannot "
          "find its own folder (inspect: not a readable effect module)"},
    {"4", "the effect returned an error code (named, with the effect's own message)"},
    {"5", "an image could not be written (the reason is given; frames written before it are kept)"},
    {"6", "standard output is closed or full: frames written with -o -, or what --verbose, --help, --version or "
          "inspect print, could not all be written"},
    {"7", "out of memory while rendering or writing (frames written before are kept)"},
    {"128+N", "stopped by signal N: SIGHUP 129, SIGINT 130, SIGTERM 143 (on Windows Ctrl+C 130, Ctrl+Break "
              "149, closing the console 129); the frame being written is removed, finished frames are kept"},
};

class ToolError : public std::runtime_error {
public:
    ToolError(ExitCode code, const std::string& message) : std::runtime_error(message), exitCode(code), text(message) {}
    ExitCode code() const { return exitCode; }
    // The whole message; what() ends at a NUL that a name given by the user may hold.
    const std::string& message() const { return text; }

private:
    ExitCode exitCode;
    std::string text;
};

// A bad flag, value or scene: reported before anything is rendered.
inline ToolError usageError(const std::string& message) { return ToolError(ExitCode::Usage, message); }

} // namespace OrvaneTools
