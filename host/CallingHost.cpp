#include "CallingHost.h"

namespace OrvaneHost {

namespace {
thread_local Host* servedHost = nullptr;
thread_local FrameState* servedFrame = nullptr;
} // namespace

CallingHost::CallingHost(Host& host, FrameState* frame) : previousHost(servedHost), previousFrame(servedFrame) {
    servedHost = &host;
    servedFrame = frame;
}

CallingHost::~CallingHost() {
    servedHost = previousHost;
    servedFrame = previousFrame;
}

Host* CallingHost::current() { return servedHost; }

FrameState* CallingHost::frame() { return servedFrame; }

} // namespace OrvaneHost
