// How commands reach the effect: the host's behaviour, the abort answer it gives, the thread each command
// runs on, and the frames being rendered, each known by its own effect reference.
#include "Host.h"

#include "CallingHost.h"
#include "FrameState.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace OrvaneHost {

namespace {
bool isRenderCommand(PF_Cmd cmd) { return cmd == PF_Cmd_SMART_PRE_RENDER || cmd == PF_Cmd_SMART_RENDER; }
} // namespace

void Host::setBehaviour(const HostBehaviour& b) {
    if (b.rowPaddingBytes < 0 || b.reportedThreads < 0 || b.workerThreads < 0 || b.timeScale == 0 ||
        b.concurrentFrames < 1)
        throw std::invalid_argument("no host behaves like this");
    // The time step keeps its length in seconds (at least one unit).
    const double stepSeconds = in.time_scale ? double(in.time_step) / double(in.time_scale) : 0.0;
    in.time_step = static_cast<A_long>(std::max(1.0, std::round(stepSeconds * double(b.timeScale))));
    in.time_scale = b.timeScale;
    behaving = b;
    abortCalls = 0;
}

PF_Err Host::abortAnswer() {
    const std::uint64_t call = ++abortCalls;
    return behaving.abortAtCall != 0 && call >= behaving.abortAtCall ? behaving.abortCode : PF_Err_NONE;
}

PF_Err Host::dispatch(PF_Cmd cmd, PF_InData& cmdIn, PF_OutData& cmdOut, PF_ParamDef* params[], PF_LayerDef* output,
                      void* extra) {
    cmdIn.pica_basicP = basicAvailable ? &basic : nullptr;
    cmdIn.utils = &utils;
    return entry(cmd, &cmdIn, &cmdOut, params, output, extra);
}

PF_Err Host::send(PF_Cmd cmd, PF_ParamDef* params[], PF_LayerDef* output, void* extra) {
    CallingHost serving(*this);
    return dispatch(cmd, in, out, params, output, extra);
}

PF_Err Host::send(FrameState& frame, PF_InData& frameIn, PF_OutData& frameOut, PF_Cmd cmd, void* extra) {
    PF_Err err = PF_Err_NONE;
    auto command = [&] {
        CallingHost serving(*this, &frame);
        err = dispatch(cmd, frameIn, frameOut, nullptr, nullptr, extra);
    };
    if (behaving.renderOnOtherThread && isRenderCommand(cmd)) {
        try {
            std::thread(command).join();
            return err;
        } catch (const std::system_error&) {
            // No thread to spare: the command comes on this one.
        }
    }
    command();
    return err;
}

bool Host::isEffectRef(PF_ProgPtr ref) const { return ref && (ref == in.effect_ref || frameOf(ref)); }

PF_ProgPtr Host::beginFrame(FrameState& frame) {
    std::lock_guard<std::mutex> lock(frameMutex);
    renderingFrames.insert(&frame);
    return reinterpret_cast<PF_ProgPtr>(&frame);
}

void Host::endFrame(FrameState& frame) {
    std::lock_guard<std::mutex> lock(frameMutex);
    renderingFrames.erase(&frame);
}

FrameState* Host::frameOf(PF_ProgPtr ref) const {
    std::lock_guard<std::mutex> lock(frameMutex);
    auto it = renderingFrames.find(reinterpret_cast<FrameState*>(ref));
    return it == renderingFrames.end() ? nullptr : *it;
}

FrameState* Host::findFrame(const std::function<bool(const FrameState&)>& match) const {
    std::lock_guard<std::mutex> lock(frameMutex);
    for (FrameState* frame : renderingFrames)
        if (match(*frame)) return frame;
    return nullptr;
}

} // namespace OrvaneHost
