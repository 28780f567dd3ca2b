#include "RenderSession.h"

#include "AtomicFile.h"
#include "EffectContract.h"
#include "EffectLifecycle.h"
#include "ErrorNames.h"
#include "FrameView.h"
#include "FrameWriters.h"
#include "HostScene.h"
#include "ImageOutput.h"
#include "Interruption.h"
#include "MemoryBudget.h"
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
#include <utility>

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

// The first frame (k from 0) to render: with --skip-existing the first whose file is missing, found
// before the module is loaded, so that a finished sequence loads nothing. Says on `err` when there is none.
long firstFrameToRender(const RenderJob& job, std::ostream& err) {
    long k = 0;
    if (job.skipExisting)
        while (k < job.frameCount() && regularFileExists(job.frameAt(k).path)) ++k;
    if (k < job.frameCount()) return k;
    err << "orvane-render: ";
    if (job.frameCount() == 1)
        err << shownText(job.frameAt(0).path) << " exists and is kept";
    else
        err << k << " of " << job.frameCount() << " frames exist and are kept";
    err << " (--skip-existing); nothing to render\n";
    return k;
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

void writeFrame(const RenderJob& job, const RenderedFrame& rendered, Progress& progress) {
    if (job.toStandardOutput)
        writeImageToStandardOutput(*job.format, viewOf(rendered.frame), rendered.target.number, job.encoding);
    else
        writeImageFile(*job.format, viewOf(rendered.frame), rendered.target.path, job.replaceReadOnly, job.encoding);
    progress.frameDone();
}

// The frames from `first` on, walked one at a time however many there are: each rendered on this thread
// (the host's, where the effect's commands belong) and handed to the writers, which write it while the next
// renders. With --skip-existing a frame whose file exists by the time it comes is kept. Returns the frames
// kept.
long renderFrames(OrvaneHost::Host& host, const RenderJob& job, long first, const SessionOutput& output) {
    const OrvaneHost::LayerSetup layer = layerOf(job);
    long planned = job.frameCount() - first;
    Progress progress(output.err, output.progress, planned);
    FrameWriters writers(job.framesInFlight,
                         [&job, &progress](const RenderedFrame& rendered) { writeFrame(job, rendered, progress); });
    long kept = first;
    for (long k = first; k < job.frameCount(); ++k) {
        RenderedFrame rendered{job.frameAt(k), {}};
        const FrameToRender& target = rendered.target;
        if (!job.toStandardOutput) {
            // Found finished: before the run began, or by another machine rendering into the same folder since.
            if (job.skipExisting && k > first && regularFileExists(target.path)) {
                ++kept;
                progress.frameSkipped();
                {
                    HoldStops hold;
                    noteFramesPlanned(--planned);
                }
                if (job.verbose)
                    progress.printAside([&] {
                        printReport(output.out, "frame " + std::to_string(target.number) + ": " +
                                                    shownText(target.path) + " exists and is kept\n");
                    });
                continue;
            }
            // A file that may not be replaced is found before the frame is rendered, not after.
            checkReplaceable(target.path, job.replaceReadOnly);
        }
        OrvaneHost::FrameReport report;
        if (PF_Err err = OrvaneHost::renderFrame(host, layer, target.time, rendered.frame, &report))
            frameFailed(host, target.number, report, err);
        if (job.verbose) {
            std::ostringstream text;
            printFrame(text, host, target.number, A_Time{target.time, job.timeScale}, rendered.frame, report);
            progress.printAside([&] { printReport(output.out, text.str()); });
        }
        writers.hand(std::move(rendered));
    }
    writers.finish();
    return kept;
}

} // namespace

void runRenderJob(const RenderJob& job, const SessionOutput& output) {
    const long first = firstFrameToRender(job, output.err);
    {
        HoldStops hold;
        noteFramesPlanned(job.frameCount() - first);
    }
    if (first == job.frameCount()) return;
    keepFreedMemoryForTheNextFrames();
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

    const long kept = renderFrames(host, job, first, output);
    setdown.finish();
    if (kept > 0)
        output.err << "orvane-render: " << kept << " of " << job.frameCount()
                   << " frames existed and were kept (--skip-existing); " << job.frameCount() - kept << " rendered\n";
    if (job.verbose)
        for (const std::string& problem : host.bookProblems()) output.err << "orvane-render: host: " << problem << "\n";
}

} // namespace OrvaneTools
