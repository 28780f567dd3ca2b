// Runs the built orvane-render binary as a user would and collects what it printed and returned.
#pragma once

#include <string>
#include <vector>

namespace OrvaneToolsTest {

struct ToolResult {
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out, err;
};

// Runs ORVANE_RENDER_PATH with `args`, with ORVANE_MODULE removed from its environment.
ToolResult runRender(const std::vector<std::string>& args);

} // namespace OrvaneToolsTest
