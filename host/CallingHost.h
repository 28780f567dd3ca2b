// How a callback finds its host. The effect's calls carry no host of their own (the basic suite, the handle
// and ANSI callbacks carry nothing at all), so a host marks each thread it lends the effect: the thread a
// command is sent on, and each worker while it runs an iteration. Several hosts can run in one process at
// once, each on its own threads.
#pragma once

namespace OrvaneHost {

class Host;
struct FrameState;

// For its lifetime, calls from this thread reach `host` (and belong to `frame`, when a frame is rendered);
// the thread's earlier host comes back afterwards, so a command sent from inside another nests.
class CallingHost {
public:
    explicit CallingHost(Host& host, FrameState* frame = nullptr);
    ~CallingHost();
    CallingHost(const CallingHost&) = delete;
    CallingHost& operator=(const CallingHost&) = delete;

    // The host this thread serves, or null on a thread no host lent.
    static Host* current();
    // The frame whose command or iteration runs on this thread, or null.
    static FrameState* frame();

private:
    Host* previousHost;
    FrameState* previousFrame;
};

} // namespace OrvaneHost
