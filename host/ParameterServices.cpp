#include "Host.h"
#include "Services.h"

namespace OrvaneHost {

void installParameterServices(Host&) {}

} // namespace OrvaneHost
