// Loads an effect module file and finds its entry point, as a host does: dlopen on Linux, LoadLibraryW on
// Windows. The effect is reached only through the function this returns.
#pragma once

#include "../sdk/host_sdk.h"

#include <optional>
#include <string>

namespace OrvaneHost {

class Module {
public:
    // `path` names a file, also without a folder (never a library on the system's search path). The file is
    // checked first (ModuleFile.h), so that a damaged one is refused rather than handed to the loader.
    // Throws std::runtime_error naming the file and the reason when it cannot be loaded. On Windows the
    // entry point is the one the module's registration resource declares, and `entryPointName` is unused.
    explicit Module(const std::string& path, const std::string& entryPointName = "EntryPointFunc");
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    PF_EntryPointFunc entryPoint() const { return entry; }
    const std::string& path() const { return file; }

private:
    std::string file;
    void* library = nullptr;
    PF_EntryPointFunc entry = nullptr;
};

// The effect module built beside the running program; none when the program cannot find its own file (on
// Linux without /proc), since any folder guessed instead, the current one say, could hold anything.
std::optional<std::string> defaultModulePath();

} // namespace OrvaneHost
