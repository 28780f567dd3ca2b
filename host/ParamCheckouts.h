// Parameter checkouts at a time and the abort check, as the host's interaction callbacks.
#pragma once

#include "../sdk/host_sdk.h"

#include <cstdint>

namespace OrvaneHost {

class Host;

// From the occurrence-th abort check on (1-based, counted from now), the host answers `code`, as when the
// user stops a render (HostBehaviour's abortAtCall and abortCode).
void abortFromCall(Host& host, std::uint64_t occurrence, PF_Err code);

// Installs checkout_param, checkin_param and abort (called by installRenderServices).
void installParamCheckouts(Host& host);

} // namespace OrvaneHost
