// How many threads the host says it has and runs generic iterations on (HostBehaviour's reportedThreads and
// workerThreads, with the order and timing of the iterations).
#pragma once

namespace OrvaneHost {

class Host;

// Sets the count AEGP_GetNumThreads reports (at least 1) and runs the iterations on that many threads.
void setHostThreads(Host& host, int threads);
int hostThreads(Host& host);

// Serves "AEGP Iterate Suite" 1 and "PF Iterate8 Suite" 1 (called by installRenderServices).
void installIterateSuites(Host& host);

} // namespace OrvaneHost
