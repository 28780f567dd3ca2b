#include "StandardOutput.h"

#include "ToolError.h"

#include <cerrno>
#include <system_error>

namespace OrvaneTools {

void printReport(std::ostream& out, const std::string& text) {
    errno = 0;
    out << text << std::flush;
    if (out) return;
    const int error = errno;
    throw ToolError(ExitCode::StandardOutput, "cannot write to standard output: " +
                                                  (error ? std::generic_category().message(error)
                                                         : std::string("it is closed or full")));
}

} // namespace OrvaneTools
