#include "Host.h"
#include "Services.h"

namespace OrvaneHost {

void installRenderServices(Host&) {}

} // namespace OrvaneHost
