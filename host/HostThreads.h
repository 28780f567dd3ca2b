// How many threads the host says it has and runs generic iterations on.
#pragma once

namespace OrvaneHost {

class Host;

constexpr int kDefaultHostThreads = 4;

// The count AEGP_GetNumThreads reports and the size of the pool iterate_generic runs on (at least 1).
void setHostThreads(Host& host, int threads);
int hostThreads(Host& host);

// Serves "AEGP Iterate Suite" 1 and "PF Iterate8 Suite" 1 (called by installRenderServices).
void installIterateSuites(Host& host);

} // namespace OrvaneHost
