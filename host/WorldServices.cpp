#include "Host.h"
#include "Services.h"

namespace OrvaneHost {

void installWorldServices(Host&) {}

} // namespace OrvaneHost
