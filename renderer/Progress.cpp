#include "Progress.h"

#include "Interruption.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace OrvaneTools {

Progress::Progress(std::ostream& stream, bool show, long frameCount)
    : out(stream), enabled(show && frameCount > 1), total(frameCount), start(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
    std::lock_guard<std::mutex> hold(lock);
    if (shownColumns == 0) return;
    if (done < total) {
        clear();
        return;
    }
    HoldStops holdStops;
    out << "\n" << std::flush;
    noteStatusLine(0);
}

void Progress::clear() {
    if (shownColumns == 0) return;
    HoldStops holdStops;
    out << "\r" << std::string(static_cast<std::size_t>(shownColumns), ' ') << "\r" << std::flush;
    shownColumns = 0;
    noteStatusLine(0);
}

void Progress::frameSkipped() {
    std::lock_guard<std::mutex> hold(lock);
    --total;
}

void Progress::frameDone() {
    std::lock_guard<std::mutex> hold(lock);
    ++done;
    if (!enabled) return;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double left = done > 0 ? elapsed / static_cast<double>(done) * static_cast<double>(total - done) : 0.0;
    std::string line = "frame " + std::to_string(done) + " of " + std::to_string(total);
    if (done < total) line += ", about " + std::to_string(static_cast<long>(std::ceil(left))) + " s left";
    // Padded to cover a longer line drawn before.
    const int columns = static_cast<int>(line.size());
    if (columns < shownColumns) line += std::string(static_cast<std::size_t>(shownColumns - columns), ' ');
    HoldStops holdStops;
    out << "\r" << line << std::flush;
    shownColumns = std::max(columns, shownColumns);
    noteStatusLine(shownColumns);
}

} // namespace OrvaneTools
