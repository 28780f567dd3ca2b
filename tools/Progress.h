// Progress of a frame sequence on stderr ("frame 3 of 24, about 5 s left"), shown only when stderr is a
// terminal so that logs and pipes stay clean.
#pragma once

#include <chrono>
#include <ostream>

namespace OrvaneTools {

bool stderrIsTerminal();

class Progress {
public:
    Progress(std::ostream& out, bool enabled, long frameCount);
    ~Progress(); // ends the progress line
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void frameDone(long framesDone);

private:
    std::ostream& out;
    bool enabled;
    long total;
    bool shown = false;
    std::chrono::steady_clock::time_point start;
};

} // namespace OrvaneTools
