#include "ThreadPool.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <system_error>

namespace OrvaneHost {

namespace {

std::vector<A_long> orderedIterations(const PoolShape& shape, A_long iterations, std::uint64_t run) {
    std::vector<A_long> order(static_cast<std::size_t>(iterations));
    std::iota(order.begin(), order.end(), A_long(0));
    if (shape.order == IterationOrder::Reverse) std::reverse(order.begin(), order.end());
    if (shape.order == IterationOrder::Shuffled) {
        std::mt19937 random(static_cast<std::uint32_t>(shape.seed + run * 7919u));
        std::shuffle(order.begin(), order.end(), random);
    }
    return order;
}

// Up to a fifth of a millisecond, different for every iteration and run: enough to reorder the threads.
void pause(const PoolShape& shape, A_long i, std::uint64_t run) {
    if (!shape.jitter) return;
    std::uint32_t x = shape.seed * 2654435761u ^ static_cast<std::uint32_t>(i) * 40503u ^ static_cast<std::uint32_t>(run);
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    std::this_thread::sleep_for(std::chrono::microseconds(x % 200u));
}

} // namespace

std::thread startThread(std::function<void()> body) { return std::thread(std::move(body)); }

ThreadPool::ThreadPool(const PoolShape& shape, const ThreadStarter& start) : asked(shape) {
    const int wanted = std::max(1, shape.threads);
    const int firstWorker = shape.threadZeroSpawned ? 0 : 1;
    try {
        workers.reserve(static_cast<std::size_t>(wanted));
        for (int t = firstWorker; t < wanted; ++t) workers.push_back(start([this, t] { workerLoop(t); }));
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    // The threads that did start keep their numbers; without a spawned thread 0 the caller is thread 0.
    const int started = static_cast<int>(workers.size());
    callerWorks = !shape.threadZeroSpawned || started == 0;
    threadCount = callerWorks ? started + 1 : started;
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& worker : workers) worker.join();
}

void ThreadPool::runShare(int thread, std::uint64_t run) {
    const std::size_t count = sequence.size();
    const auto step = static_cast<std::size_t>(threadCount);
    for (std::size_t j = static_cast<std::size_t>(thread); j < count; j += step) {
        pause(asked, sequence[j], run);
        (*job)(thread, sequence[j]);
    }
}

void ThreadPool::run(A_long iterations, const std::function<void(int, A_long)>& work) {
    if (iterations <= 0) return;
    std::uint64_t run = 0;
    {
        std::unique_lock<std::mutex> lock(mutex);
        run = ++runs;
        if (running || threadCount == 1) {
            lock.unlock();
            for (A_long i : orderedIterations(asked, iterations, run)) {
                pause(asked, i, run);
                work(0, i);
            }
            return;
        }
        sequence = orderedIterations(asked, iterations, run);
        sequenceRun = run;
        running = true;
        job = &work;
        pending = static_cast<int>(workers.size());
        ++generation;
    }
    wake.notify_all();
    // A worker's number is its share: with a spawned thread 0 the workers are 0.., otherwise 1...
    if (callerWorks) runShare(0, run);
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this] { return pending == 0; });
    job = nullptr;
    running = false;
}

void ThreadPool::workerLoop(int thread) {
    std::uint64_t seen = 0;
    for (;;) {
        std::uint64_t run = 0;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [&] { return stopping || generation != seen; });
            if (stopping) return;
            seen = generation;
            run = sequenceRun;
        }
        runShare(thread, run);
        {
            std::lock_guard<std::mutex> lock(mutex);
            --pending;
        }
        done.notify_one();
    }
}

} // namespace OrvaneHost
