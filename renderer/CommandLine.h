// orvane-render's command line: `orvane-render [options] -o OUT`, `orvane-render inspect MODULE` and
// `orvane-render --version`.
#pragma once

#include "RenderSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace OrvaneTools {

struct CommandLine {
    enum class Mode { Render, Inspect, Help, Version };
    Mode mode = Mode::Render;
    std::string helpText;          // Mode::Help: what to print
    std::string inspectModule;     // Mode::Inspect
    std::optional<std::string> scenePath;
    RenderSettings flags;          // only what the command line (and ORVANE_MODULE) gives; Mode::Version: the module
};

// Throws a usage ToolError naming the bad flag or value.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The long names of every option of the render command ("output", "size", "help", ...).
std::vector<std::string> longOptionNames();

} // namespace OrvaneTools
