// Progress of a frame sequence on stderr ("frame 3 of 24, about 5 s left"), shown only when stderr is a
// terminal so that logs and pipes stay clean. The progress line is redrawn in place and cleared before any
// other line is printed, so that the two never run together; frames are counted as their writers finish
// them, on any thread.
#pragma once

#include <chrono>
#include <mutex>
#include <ostream>

namespace OrvaneTools {

class Progress {
public:
    Progress(std::ostream& out, bool enabled, long frameCount);
    // Ends a finished sequence's line; clears the line of one that did not finish (a message follows).
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One more frame written.
    void frameDone();
    // One frame fewer to do: it was found done before.
    void frameSkipped();
    // Prints another line with `print` where the progress line was; the next frameDone draws it again.
    template <class Print> void printAside(Print print) {
        std::lock_guard<std::mutex> hold(lock);
        clear();
        print();
    }

private:
    void clear();

    std::ostream& out;
    bool enabled;
    long total;
    long done = 0;
    int shownColumns = 0;
    std::chrono::steady_clock::time_point start;
    std::mutex lock;
};

} // namespace OrvaneTools
