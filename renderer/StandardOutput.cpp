#include "StandardOutput.h"

#include "ToolError.h"

#include <cerrno>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

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

bool streamIsTerminal(std::FILE* stream) {
#if defined(_WIN32)
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

void prepareStandardOutputForImages() {
    if (streamIsTerminal(stdout))
        throw usageError("the frames would go to standard output, which is a terminal; send them into a program "
                         "(| program) or a file (> file)");
#if defined(_WIN32)
    if (_setmode(_fileno(stdout), _O_BINARY) == -1)
        throw ToolError(ExitCode::StandardOutput, "cannot write images to standard output: it cannot be put in "
                                                  "binary mode");
#endif
}

} // namespace OrvaneTools
