// Writes rendered frames on threads of their own, so that the host renders the next frame while the last
// ones are encoded and written. Each writer holds one frame at a time, so the frames in flight are as many
// as there are writers; one writer writes the frames in the order they were handed over.
#pragma once

#include "RenderJob.h"

#include "host/FrameRender.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace OrvaneTools {

struct RenderedFrame {
    FrameToRender target;
    OrvaneHost::Frame frame;
};

class FrameWriters {
public:
    using Write = std::function<void(const RenderedFrame&)>;

    // `writers` threads (fewer when the system has no more to give); with none, each frame is written by
    // hand() itself. `write` runs on the writers' threads.
    FrameWriters(int writers, Write write);
    // Lets the writers finish the frames they were given (none more once a write failed) and ends them.
    ~FrameWriters();
    FrameWriters(const FrameWriters&) = delete;
    FrameWriters& operator=(const FrameWriters&) = delete;

    // Gives the frame to a writer, first waiting while every writer holds one. Throws what the write of an
    // earlier frame threw; after that no frame is written any more.
    void hand(RenderedFrame frame);
    // Waits until every frame handed over is written; throws what the first failed write threw.
    void finish();

    int writers() const { return static_cast<int>(threads.size()); }

private:
    void work();

    Write write;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<RenderedFrame> waiting;
    int held = 0; // frames handed over whose writing has not ended
    std::exception_ptr failure;
    bool closing = false;
    std::vector<std::thread> threads;
};

} // namespace OrvaneTools
