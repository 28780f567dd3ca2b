#include "Inspect.h"

namespace OrvaneTools {

int runInspect(const std::string& modulePath, std::ostream&, std::ostream& err) {
    err << "orvane-render inspect: reading " << modulePath << " is not available yet\n";
    return 2;
}

} // namespace OrvaneTools
