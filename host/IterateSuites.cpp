// "AEGP Iterate Suite" 1 (the host's thread count) and "PF Iterate8 Suite" 1 (generic iteration on the
// host's worker threads).
#include "HostThreads.h"

#include "CallingHost.h"
#include "Host.h"
#include "ServeCall.h"
#include "ThreadPool.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace OrvaneHost {

namespace {

// The pool of the behaviour's shape, made on first use and again when the shape changes. A run holds its
// own reference, so a frame still running keeps the pool it started on.
struct ThreadPools {
    std::mutex mutex;
    std::shared_ptr<ThreadPool> pool;
};

PoolShape shapeOf(const HostBehaviour& b) {
    PoolShape shape;
    shape.threads = b.workerThreads > 0 ? b.workerThreads : std::max(1, b.reportedThreads);
    shape.threadZeroSpawned = b.threadZeroSpawned;
    shape.order = b.order;
    shape.jitter = b.jitter;
    shape.seed = b.seed;
    return shape;
}

// Null when not even the pool's own record can be had.
std::shared_ptr<ThreadPool> poolFor(Host& host) {
    ThreadPools& pools = host.extension<ThreadPools>();
    const PoolShape shape = shapeOf(host.behaviour());
    std::lock_guard<std::mutex> lock(pools.mutex);
    try {
        if (!pools.pool || pools.pool->shape() != shape) {
            pools.pool.reset();
            pools.pool = std::make_shared<ThreadPool>(shape);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return pools.pool;
}

A_Err getNumThreads(A_long* threads) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetNumThreads", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!threads) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        *threads = host.behaviour().reportedThreads;
        return call.result(PF_Err_NONE);
    });
}

// Runs fn once per iteration on the pool; the result is that of the lowest iteration that failed.
PF_Err iterateGeneric(A_long iterations, void* refcon, PF_IterateGenericFunc fn) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "iterate_generic", std::to_string(iterations), {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!fn) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        if (iterations <= 0) return call.result(PF_Err_NONE);

        const std::shared_ptr<ThreadPool> pool = poolFor(host);
        std::vector<PF_Err> results;
        std::vector<char> escaped;
        try {
            if (!pool) throw std::bad_alloc();
            results.assign(static_cast<std::size_t>(iterations), PF_Err_NONE);
            escaped.assign(static_cast<std::size_t>(iterations), 0);
            FrameState* frame = CallingHost::frame();
            pool->run(iterations, [&](int thread, A_long i) {
                CallingHost serving(host, frame); // the worker serves the effect for this host and frame
                try {
                    results[std::size_t(i)] = fn(refcon, thread, i, iterations);
                } catch (...) {
                    escaped[std::size_t(i)] = 1; // an exception must never leave a plug-in's callback
                }
            });
        } catch (const std::bad_alloc&) {
            return call.result(PF_Err_OUT_OF_MEMORY);
        }
        PF_Err result = PF_Err_NONE;
        for (A_long i = 0; i < iterations; ++i) {
            if (escaped[std::size_t(i)]) {
                host.books().hostError("iterate_generic: an exception left the callback of iteration " +
                                       std::to_string(i));
                if (!result) result = PF_Err_INTERNAL_STRUCT_DAMAGED;
            }
            if (!result) result = results[std::size_t(i)];
        }
        return call.result(result);
    });
}

const AEGP_IterateSuite1 kIterateSuite1 = {getNumThreads};
const PF_Iterate8Suite1 kIterate8Suite1 = {iterateGeneric};

} // namespace

void setHostThreads(Host& host, int threads) {
    HostBehaviour b = host.behaviour();
    b.reportedThreads = std::max(1, threads);
    b.workerThreads = 0;
    host.setBehaviour(b);
}

int hostThreads(Host& host) { return host.behaviour().reportedThreads; }

void installIterateSuites(Host& host) {
    host.serveSuite("AEGP Iterate Suite", 1, &kIterateSuite1);
    host.serveSuite("PF Iterate8 Suite", 1, &kIterate8Suite1);
}

} // namespace OrvaneHost
