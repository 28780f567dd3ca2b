// Each group of host services installs its suites and callbacks into a host.
#pragma once

namespace OrvaneHost {

class Host;

void installCoreServices(Host& host);      // basic suite, handles, ANSI callbacks, AEGP registration
void installParameterServices(Host& host); // add_param, effect references, layers, streams, keyframes, values
void installRenderServices(Host& host);    // checkouts, abort, smart-render callbacks, worlds, threads
void installWorldServices(Host& host);     // new worlds, copy, fill, transfer

} // namespace OrvaneHost
