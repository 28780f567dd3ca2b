// The host's worker threads. The calling thread is thread 0 and works too; iteration i of a run always
// goes to thread i % threads, so which thread asks what is the same on every run.
#pragma once

#include "../sdk/host_types.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace OrvaneHost {

class ThreadPool {
public:
    // `threads` counts the calling thread: a pool of 1 starts no thread of its own.
    explicit ThreadPool(int threads);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    int threads() const { return threadCount; }

    // Runs work(thread, i) for every i in [0, iterations) and returns when all are done. Each thread runs its
    // iterations in increasing order. A run started from inside a run goes serially on the calling thread.
    void run(A_long iterations, const std::function<void(int thread, A_long i)>& work);

private:
    void workerLoop(int thread);
    void runShare(int thread);

    const int threadCount;
    std::vector<std::thread> workers;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::uint64_t generation = 0;
    int pending = 0;
    bool stopping = false;
    bool running = false;
    A_long jobIterations = 0;
    const std::function<void(int, A_long)>* job = nullptr;
};

} // namespace OrvaneHost
