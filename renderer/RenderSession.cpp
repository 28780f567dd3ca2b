#include "RenderSession.h"

#include "AtomicFile.h"
#include "EffectContract.h"
#include "EffectLifecycle.h"
#include "ErrorNames.h"
#include "FrameView.h"
#include "HostScene.h"
#include "ImageOutput.h"
#include "Interruption.h"
#include "Progress.h"
#include "ShownText.h"
#include "StandardOutput.h"
#include "ToolError.h"
#include "VerboseReport.h"

#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/HostThreads.h"
#include "host/ParameterControls.h"
#include "params/ParamIndex.h"

#include <sstream>
#include <vector>

namespace OrvaneTools {

namespace {


// A frame that failed: in one of the effect's two render commands, or in the host before them (a layer it
// cannot make, for instance), which the host's report then describes.
[[noreturn]] void frameFailed(OrvaneHost::Host& host, long number, const OrvaneHost::FrameReport& report, PF_Err err) {
    const std::string frame = "frame " + std::to_string(number) + ": ";
    for (const char* step : {"smart pre-render", "smart render"})
        if (report.message.rfind(step, 0) == 0) effectFailed(host, frame + step, err);
    throw ToolError(exitCodeOf(err), frame + (report.message.empty() ? "rendering failed" : report.message) + " (" +
                                         describeError(err) + ")");
}

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

// The frames (k from 0) whose files are missing, or all of them without --skip-existing; says on `err`
// how many were found and kept.
std::vector<long> framesToRender(const RenderJob& job, std::ostream& err) {
    std::vector<long> frames;
    for (long k = 0; k < job.frameCount(); ++k)
        if (!job.skipExisting || !regularFileExists(job.frameAt(k).path)) frames.push_back(k);
    const long kept = job.frameCount() - static_cast<long>(frames.size());
    if (kept == 0) return frames;
    err << "orvane-render: ";
    if (job.frameCount() == 1)
        err << shownText(job.frameAt(0).path) << " exists and is kept";
    else
        err << kept << " of " << job.frameCount() << " frames exist and are kept";
    err << " (--skip-existing); " << (frames.empty() ? std::string("nothing to render")
                                                     : "rendering " + std::to_string(frames.size())) << "\n";
    return frames;
}

void reportEffect(OrvaneHost::Host& host, const std::string& aboutText, const PF_OutData& registration,
                  std::ostream& out) {
    std::ostringstream text;
    printRegistration(text, aboutText, registration.my_version, registration.out_flags, registration.out_flags2,
                      host.streams().size());
    text << "controls:\n" << OrvaneHost::controlList(host);
    printReport(out, text.str());
}

void pressRefresh(OrvaneHost::Host& host, const RenderJob& job, std::ostream& out) {
    if (PF_Err err = OrvaneHost::pressButton(host, Orvane::kParamRefreshButton)) effectFailed(host, "pressing Refresh", err);
    if (!job.verbose) return;
    std::ostringstream text;
    printRefreshPress(text, host.streams().at(Orvane::kParamRefreshCounter).current.u.sd.value,
                      OrvaneHost::parameterControls(host).rerenders);
    printReport(out, text.str());
}

void renderFrames(OrvaneHost::Host& host, const RenderJob& job, const std::vector<long>& frames,
                  const SessionOutput& output) {
    const OrvaneHost::LayerSetup layer = layerOf(job);
    Progress progress(output.err, output.progress, static_cast<long>(frames.size()));
    long planned = static_cast<long>(frames.size());
    long written = 0;
    for (const long k : frames) {
        const FrameToRender target = job.frameAt(k);
        if (!job.toStandardOutput) {
            // Another machine rendering into the same folder may have written the frame since the run began.
            if (job.skipExisting && regularFileExists(target.path)) {
                progress.frameSkipped();
                {
                    HoldStops hold;
                    noteFramesPlanned(--planned);
                }
                if (job.verbose)
                    printReport(output.out, "frame " + std::to_string(target.number) + ": " + shownText(target.path) +
                                                " exists now and is kept\n");
                continue;
            }
            // A file that may not be replaced is found before the frame is rendered, not after.
            checkReplaceable(target.path, job.replaceReadOnly);
        }
        OrvaneHost::Frame frame;
        OrvaneHost::FrameReport report;
        if (PF_Err err = OrvaneHost::renderFrame(host, layer, target.time, frame, &report))
            frameFailed(host, target.number, report, err);
        if (job.verbose) {
            progress.clear();
            std::ostringstream text;
            printFrame(text, host, target.number, A_Time{target.time, job.timeScale}, frame, report);
            printReport(output.out, text.str());
        }
        if (job.toStandardOutput)
            writeImageToStandardOutput(*job.format, viewOf(frame), target.number);
        else
            writeImageFile(*job.format, viewOf(frame), target.path, job.replaceReadOnly);
        progress.frameDone(++written);
    }
}

} // namespace

void runRenderJob(const RenderJob& job, const SessionOutput& output) {
    const std::vector<long> frames = framesToRender(job, output.err);
    {
        HoldStops hold;
        noteFramesPlanned(static_cast<long>(frames.size()));
    }
    if (frames.empty()) return;
    const std::string modulePath = modulePathOf(job.modulePath);
    std::unique_ptr<OrvaneHost::Host> owned = loadHost(modulePath);
    OrvaneHost::Host& host = *owned;
    prepareHostLayer(host, job);
    OrvaneHost::setHostThreads(host, job.threads);

    const std::string about = job.verbose ? aboutText(host) : std::string();
    if (PF_Err err = host.globalSetup()) effectFailed(host, "global setup", err);
    GlobalSetdown setdown(host);
    const PF_OutData registration = host.outData();
    if (PF_Err err = OrvaneHost::applyEffect(host)) effectFailed(host, "applying the effect (parameter setup, UI update)", err);
    checkThisEffect(host, modulePath);
    if (job.verbose) reportEffect(host, about, registration, output.out);
    applyJobToStreams(host, job);
    if (job.pressRefresh) pressRefresh(host, job, output.out);

    renderFrames(host, job, frames, output);
    setdown.finish();
    if (job.verbose)
        for (const std::string& problem : host.bookProblems()) output.err << "orvane-render: host: " << problem << "\n";
}

} // namespace OrvaneTools
