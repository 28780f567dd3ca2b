// orvane-render: renders the effect's frames from the command line, driving the module as a host does.
#include "tools/CommandLine.h"
#include "tools/Inspect.h"
#include "tools/Progress.h"
#include "tools/RenderJob.h"
#include "tools/RenderSession.h"
#include "tools/SceneFile.h"
#include "tools/ToolError.h"

#include <exception>
#include <iostream>
#include <new>

using namespace OrvaneTools;

namespace {

int run(int argc, const char* const* argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.mode) {
    case CommandLine::Mode::Help:
        std::cout << line.helpText;
        return 0;
    case CommandLine::Mode::Inspect:
        return runInspect(line.inspectModule, std::cout, std::cerr);
    case CommandLine::Mode::Render:
        break;
    }
    const RenderSettings settings =
        line.scenePath ? mergeSettings(loadSceneFile(*line.scenePath), line.flags) : line.flags;
    const RenderJob job = resolveJob(settings);
    runRenderJob(job, SessionOutput{std::cout, std::cerr, line.verbose, stderrIsTerminal()});
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const ToolError& e) {
        std::cerr << "orvane-render: " << e.what() << "\n";
        return static_cast<int>(e.code());
    } catch (const std::bad_alloc&) {
        std::cerr << "orvane-render: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "orvane-render: " << e.what() << "\n";
        return 1;
    }
}
