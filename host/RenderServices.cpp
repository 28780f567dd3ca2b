// The render path's services: parameter checkouts and abort, the world suites, and the iteration suites.
// The smart-render callbacks travel in the extra blocks the frame driver builds (FrameSession).
#include "HostThreads.h"
#include "ParamCheckouts.h"
#include "Services.h"
#include "Worlds.h"

namespace OrvaneHost {

void installRenderServices(Host& host) {
    installParamCheckouts(host);
    installWorldSuites(host);
    installIterateSuites(host);
}

} // namespace OrvaneHost
