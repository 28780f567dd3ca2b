// The host's worker threads. Iterations are dealt out in a fixed way, so which thread asks what is the same
// on every run of one shape: the iterations are put in the shape's order, and thread t runs the t-th,
// (t + threads)-th, ... of them, one after the other.
#pragma once

#include "HostBehaviour.h"

#include "../sdk/host_types.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace OrvaneHost {

struct PoolShape {
    int threads = 1; // threads that run iterations, the calling one included unless thread 0 is spawned
    bool threadZeroSpawned = false;
    IterationOrder order = IterationOrder::InOrder;
    bool jitter = false;
    unsigned seed = 1;

    bool operator==(const PoolShape& o) const {
        return threads == o.threads && threadZeroSpawned == o.threadZeroSpawned && order == o.order &&
               jitter == o.jitter && seed == o.seed;
    }
    bool operator!=(const PoolShape& o) const { return !(*this == o); }
};

// Starts a thread running `body`; throws (std::system_error, std::bad_alloc) when the system has none to give.
using ThreadStarter = std::function<std::thread(std::function<void()> body)>;
std::thread startThread(std::function<void()> body);

class ThreadPool {
public:
    // Starts the shape's threads. One that cannot be started is not waited for: the pool runs on the threads
    // it could start (the calling thread alone if it started none) and gives back every one it started.
    explicit ThreadPool(const PoolShape& shape, const ThreadStarter& start = startThread);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    const PoolShape& shape() const { return asked; } // as asked for
    int threads() const { return threadCount; }      // as started

    // Runs work(thread, i) for every i in [0, iterations) and returns when all are done. A run started while
    // another runs (from inside it, or from another frame's thread) goes serially on the calling thread, as
    // thread 0. Throws std::bad_alloc when the run's order cannot be made.
    void run(A_long iterations, const std::function<void(int thread, A_long i)>& work);

private:
    void workerLoop(int thread);
    void runShare(int thread, std::uint64_t run);

    const PoolShape asked;
    int threadCount = 1;
    bool callerWorks = true; // the calling thread is thread 0
    std::vector<std::thread> workers;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::uint64_t generation = 0; // pool runs started
    std::uint64_t runs = 0;       // every run, serial ones too: varies the shuffle and the jitter
    int pending = 0;
    bool stopping = false;
    bool running = false;
    std::vector<A_long> sequence; // the pool run's iterations in the order they are dealt out
    std::uint64_t sequenceRun = 0;
    const std::function<void(int, A_long)>* job = nullptr;
};

} // namespace OrvaneHost
