// orvane-render: renders the effect's frames from the command line, driving the module as a host does.
#include "renderer/CommandLine.h"
#include "renderer/Inspect.h"
#include "renderer/Interruption.h"
#include "renderer/RenderJob.h"
#include "renderer/RenderSession.h"
#include "renderer/SceneFile.h"
#include "renderer/ShownText.h"
#include "renderer/StandardOutput.h"
#include "renderer/ToolError.h"
#include "renderer/VersionReport.h"

#include <exception>
#include <iostream>
#include <new>

using namespace OrvaneTools;

namespace {

int run(int argc, const char* const* argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.mode) {
    case CommandLine::Mode::Help:
        printReport(std::cout, line.helpText);
        return 0;
    case CommandLine::Mode::Inspect: {
        const int code = runInspect(line.inspectModule, std::cout, std::cerr);
        printReport(std::cout, "");
        return code;
    }
    case CommandLine::Mode::Version:
        printVersions(line.flags.module, std::cout);
        return 0;
    case CommandLine::Mode::Render:
        break;
    }
    const RenderSettings settings =
        line.scenePath ? mergeSettings(loadSceneFile(*line.scenePath), line.flags) : line.flags;
    const RenderJob job = resolveJob(settings);
    for (const std::string& note : job.notes) std::cerr << "orvane-render: " << shownText(note) << "\n";
    // Frames on standard output leave it to them alone: the report goes to standard error.
    if (job.toStandardOutput) prepareStandardOutputForImages();
    std::ostream& report = job.toStandardOutput ? std::cerr : std::cout;
    runRenderJob(job, SessionOutput{report, std::cerr, streamIsTerminal(stderr)});
    return 0;
}

// Messages carry names the user gave, which may hold anything: they reach the terminal escaped.
int fail(ExitCode code, const std::string& message) {
    std::cerr << "orvane-render: " << shownText(message) << "\n";
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    takeOverSignals();
    try {
        return run(argc, argv);
    } catch (const ToolError& e) {
        return fail(e.code(), e.message());
    } catch (const std::bad_alloc&) {
        return fail(ExitCode::OutOfMemory, "out of memory");
    } catch (const std::exception& e) {
        return fail(ExitCode::Internal, std::string("internal error: ") + e.what());
    }
}
