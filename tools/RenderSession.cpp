#include "RenderSession.h"

#include "AtomicFile.h"
#include "ErrorNames.h"
#include "FrameView.h"
#include "HostScene.h"
#include "ImageOutput.h"
#include "Interruption.h"
#include "Progress.h"
#include "StandardOutput.h"
#include "ToolError.h"
#include "VerboseReport.h"

#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/HostThreads.h"
#include "host/ParameterControls.h"

#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace OrvaneTools {

namespace {

constexpr PF_ParamIndex kRefreshButton = 7;
constexpr std::size_t kRefreshCounter = 8;

std::unique_ptr<OrvaneHost::Host> loadHost(const std::string& modulePath) {
    try {
        return std::make_unique<OrvaneHost::Host>(modulePath);
    } catch (const std::runtime_error& e) {
        throw ToolError(ExitCode::ModuleLoad, e.what());
    }
}

// The effect's own message, which it leaves in return_msg when it has something to tell the user.
std::string effectMessage(OrvaneHost::Host& host) {
    const char* msg = host.outData().return_msg;
    const std::size_t length = strnlen(msg, sizeof(host.outData().return_msg));
    if (length == 0) return std::string();
    return "; the effect says: " + std::string(msg, length);
}

// Memory that ran out is one failure wherever it happens, in the effect or in the host.
ExitCode exitCodeOf(PF_Err err) { return err == PF_Err_OUT_OF_MEMORY ? ExitCode::OutOfMemory : ExitCode::EffectError; }

[[noreturn]] void effectFailed(OrvaneHost::Host& host, const std::string& during, PF_Err err) {
    throw ToolError(exitCodeOf(err), during + " returned " + describeError(err) + effectMessage(host));
}

// A frame that failed: in one of the effect's two render commands, or in the host before them (a layer it
// cannot make, for instance), which the host's report then describes.
[[noreturn]] void frameFailed(OrvaneHost::Host& host, long number, const OrvaneHost::FrameReport& report, PF_Err err) {
    const std::string frame = "frame " + std::to_string(number) + ": ";
    for (const char* step : {"smart pre-render", "smart render"})
        if (report.message.rfind(step, 0) == 0) effectFailed(host, frame + step, err);
    throw ToolError(exitCodeOf(err), frame + (report.message.empty() ? "rendering failed" : report.message) + " (" +
                                         describeError(err) + ")");
}

// Global setdown for every path out once global setup succeeded.
class GlobalSetdown {
public:
    explicit GlobalSetdown(OrvaneHost::Host& h) : host(h) {}
    ~GlobalSetdown() {
        if (armed) host.globalSetdown();
    }
    PF_Err finish() {
        armed = false;
        return host.globalSetdown();
    }

private:
    OrvaneHost::Host& host;
    bool armed = true;
};

OrvaneHost::LayerSetup layerOf(const RenderJob& job) {
    OrvaneHost::LayerSetup setup;
    setup.width = job.size.width;
    setup.height = job.size.height;
    setup.depth = job.depth;
    setup.downsampleX = PF_RationalScale{1, static_cast<A_u_long>(job.downsample.x)};
    setup.downsampleY = PF_RationalScale{1, static_cast<A_u_long>(job.downsample.y)};
    return setup;
}

FrameView viewOf(const OrvaneHost::Frame& frame) {
    FrameView view;
    view.width = frame.width;
    view.height = frame.height;
    view.depth = frame.depth;
    view.rowbytes = static_cast<std::size_t>(frame.rowbytes);
    view.bytes = frame.bytes.data();
    view.byteCount = frame.bytes.size();
    return view;
}

} // namespace

void runRenderJob(const RenderJob& job, const SessionOutput& output) {
    {
        HoldStops hold;
        noteFramesPlanned(job.frameCount());
    }
    std::unique_ptr<OrvaneHost::Host> owned = loadHost(job.modulePath);
    OrvaneHost::Host& host = *owned;
    prepareHostLayer(host, job);
    OrvaneHost::setHostThreads(host, job.threads);

    std::string aboutText;
    if (job.verbose) {
        if (PF_Err err = host.about()) effectFailed(host, "About", err);
        aboutText = std::string(host.outData().return_msg, strnlen(host.outData().return_msg, sizeof(host.outData().return_msg)));
    }
    if (PF_Err err = host.globalSetup()) effectFailed(host, "global setup", err);
    GlobalSetdown setdown(host);
    const PF_OutData registration = host.outData();
    if (PF_Err err = OrvaneHost::applyEffect(host)) effectFailed(host, "applying the effect (parameter setup, UI update)", err);
    if (job.verbose) {
        std::ostringstream text;
        printRegistration(text, aboutText, registration.my_version, registration.out_flags, registration.out_flags2,
                          host.streams().size());
        text << "controls:\n" << OrvaneHost::controlList(host);
        printReport(output.out, text.str());
    }

    applyJobToStreams(host, job);
    if (job.pressRefresh) {
        if (PF_Err err = OrvaneHost::pressButton(host, kRefreshButton)) effectFailed(host, "pressing Refresh", err);
        if (job.verbose) {
            std::ostringstream text;
            printRefreshPress(text, host.streams().at(kRefreshCounter).current.u.sd.value,
                              OrvaneHost::parameterControls(host).rerenders);
            printReport(output.out, text.str());
        }
    }

    const OrvaneHost::LayerSetup layer = layerOf(job);
    {
        Progress progress(output.err, output.progress, job.frameCount());
        for (long k = 0; k < job.frameCount(); ++k) {
            const FrameToRender target = job.frameAt(k);
            // A file that may not be replaced is found before the frame is rendered, not after.
            checkReplaceable(target.path, job.replaceReadOnly);
            OrvaneHost::Frame frame;
            OrvaneHost::FrameReport report;
            if (PF_Err err = OrvaneHost::renderFrame(host, layer, target.time, frame, &report))
                frameFailed(host, target.number, report, err);
            if (job.verbose) {
                progress.clear();
                std::ostringstream text;
                printFrame(text, target.number, A_Time{target.time, job.timeScale}, frame, report);
                printReport(output.out, text.str());
            }
            writeImageFile(job.format, viewOf(frame), target.path, job.replaceReadOnly);
            progress.frameDone(k + 1);
        }
    }

    if (PF_Err err = setdown.finish()) effectFailed(host, "global setdown", err);
    if (job.verbose)
        for (const std::string& problem : host.bookProblems()) output.err << "orvane-render: host: " << problem << "\n";
}

} // namespace OrvaneTools
