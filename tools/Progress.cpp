#include "Progress.h"

#include <cmath>
#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace OrvaneTools {

bool stderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

Progress::Progress(std::ostream& stream, bool show, long frameCount)
    : out(stream), enabled(show && frameCount > 1), total(frameCount), start(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
    if (shown) out << "\n" << std::flush;
}

void Progress::frameDone(long done) {
    if (!enabled) return;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double left = done > 0 ? elapsed / static_cast<double>(done) * static_cast<double>(total - done) : 0.0;
    out << "\rframe " << done << " of " << total;
    if (done < total) out << ", about " << static_cast<long>(std::ceil(left)) << " s left";
    out << "      " << std::flush;
    shown = true;
}

} // namespace OrvaneTools
