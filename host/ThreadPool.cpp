#include "ThreadPool.h"

namespace OrvaneHost {

ThreadPool::ThreadPool(int threads) : threadCount(threads < 1 ? 1 : threads) {
    workers.reserve(std::size_t(threadCount - 1));
    for (int t = 1; t < threadCount; ++t) workers.emplace_back([this, t] { workerLoop(t); });
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& worker : workers) worker.join();
}

void ThreadPool::runShare(int thread) {
    for (A_long i = thread; i < jobIterations; i += threadCount) (*job)(thread, i);
}

void ThreadPool::run(A_long iterations, const std::function<void(int, A_long)>& work) {
    if (iterations <= 0) return;
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (running || threadCount == 1) {
            lock.unlock();
            for (A_long i = 0; i < iterations; ++i) work(0, i);
            return;
        }
        running = true;
        job = &work;
        jobIterations = iterations;
        pending = threadCount - 1;
        ++generation;
    }
    wake.notify_all();
    runShare(0);
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this] { return pending == 0; });
    job = nullptr;
    running = false;
}

void ThreadPool::workerLoop(int thread) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [&] { return stopping || generation != seen; });
            if (stopping) return;
            seen = generation;
        }
        runShare(thread);
        {
            std::lock_guard<std::mutex> lock(mutex);
            --pending;
        }
        done.notify_one();
    }
}

} // namespace OrvaneHost
