#include "FrameWriters.h"

#include <system_error>
#include <utility>

namespace OrvaneTools {

FrameWriters::FrameWriters(int writers, Write writeFrame) : write(std::move(writeFrame)) {
    try {
        for (int i = 0; i < writers; ++i) threads.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
        // No thread to spare: the writers there are, or hand() itself.
    }
}

FrameWriters::~FrameWriters() {
    {
        std::lock_guard<std::mutex> hold(lock);
        closing = true;
    }
    changed.notify_all();
    for (std::thread& thread : threads) thread.join();
}

void FrameWriters::hand(RenderedFrame frame) {
    if (threads.empty()) {
        write(frame);
        return;
    }
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [this] { return failure || held < writers(); });
    if (failure) std::rethrow_exception(failure);
    waiting.push_back(std::move(frame));
    ++held;
    hold.unlock();
    changed.notify_all();
}

void FrameWriters::finish() {
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [this] { return held == 0; });
    if (failure) std::rethrow_exception(failure);
}

void FrameWriters::work() {
    for (;;) {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [this] { return closing || !waiting.empty(); });
        if (waiting.empty()) return;
        if (failure) {
            // The run ends with that failure: frames not yet started are not written.
            held -= static_cast<int>(waiting.size());
            waiting.clear();
            hold.unlock();
            changed.notify_all();
            continue;
        }
        std::exception_ptr failed;
        {
            // The frame's memory goes before the writer takes another.
            const RenderedFrame frame = std::move(waiting.front());
            waiting.pop_front();
            hold.unlock();
            try {
                write(frame);
            } catch (...) {
                failed = std::current_exception();
            }
        }
        hold.lock();
        if (failed && !failure) failure = failed;
        --held;
        hold.unlock();
        changed.notify_all();
    }
}

} // namespace OrvaneTools
