// Each group of host services installs its suites and callbacks into a host (the basic suite is the host's
// own; the smart-render callbacks travel in each frame's extra blocks, FrameSession.h).
#pragma once

namespace OrvaneHost {

class Host;

// The handle suite and callbacks, the ANSI callbacks, AEGP registration, and an answer for every interaction
// callback that no later group serves.
void installCoreServices(Host& host);
// add_param, and the AEGP suites of the effect's objects: effect references, its layer and composition,
// streams and their values, dynamic stream flags and keyframes.
void installParameterServices(Host& host);
// checkout_param, checkin_param and abort; the world suites; the thread count and generic iteration.
void installRenderServices(Host& host);
// The copy, fill and transfer_rect callbacks.
void installWorldServices(Host& host);

} // namespace OrvaneHost
