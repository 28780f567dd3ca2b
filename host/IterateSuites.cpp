// "AEGP Iterate Suite" 1 (the host's thread count) and "PF Iterate8 Suite" 1 (generic iteration on the
// host's worker threads).
#include "HostThreads.h"

#include "Host.h"
#include "ThreadPool.h"

#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace OrvaneHost {

namespace {

struct ThreadSettings {
    int threads = kDefaultHostThreads;
    std::unique_ptr<ThreadPool> pool;
};

ThreadSettings& settings(Host& host) { return host.extension<ThreadSettings>(); }

A_Err getNumThreads(A_long* threads) {
    Host& host = Host::current();
    HostCall call(host.calls(), "AEGP_GetNumThreads", "", {FaultMode::Error});
    if (call.fault()) return call.result(call.fault()->code);
    if (!threads) return call.result(PF_Err_BAD_CALLBACK_PARAM);
    *threads = settings(host).threads;
    return call.result(PF_Err_NONE);
}

// Runs fn once per iteration on the pool; the result is that of the lowest iteration that failed.
PF_Err iterateGeneric(A_long iterations, void* refcon, PF_IterateGenericFunc fn) {
    Host& host = Host::current();
    HostCall call(host.calls(), "iterate_generic", std::to_string(iterations), {FaultMode::Error});
    if (call.fault()) return call.result(call.fault()->code);
    if (!fn) return call.result(PF_Err_BAD_CALLBACK_PARAM);
    if (iterations <= 0) return call.result(PF_Err_NONE);

    ThreadSettings& s = settings(host);
    if (!s.pool || s.pool->threads() != s.threads) {
        s.pool.reset();
        s.pool = std::make_unique<ThreadPool>(s.threads);
    }
    std::vector<PF_Err> results;
    std::vector<char> escaped;
    try {
        results.assign(static_cast<std::size_t>(iterations), PF_Err_NONE);
        escaped.assign(static_cast<std::size_t>(iterations), 0);
    } catch (const std::bad_alloc&) {
        return call.result(PF_Err_OUT_OF_MEMORY);
    }
    s.pool->run(iterations, [&](int thread, A_long i) {
        try {
            results[std::size_t(i)] = fn(refcon, thread, i, iterations);
        } catch (...) {
            escaped[std::size_t(i)] = 1; // an exception must never leave a plug-in's callback
        }
    });
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
}

const AEGP_IterateSuite1 kIterateSuite1 = {getNumThreads};
const PF_Iterate8Suite1 kIterate8Suite1 = {iterateGeneric};

} // namespace

void setHostThreads(Host& host, int threads) {
    ThreadSettings& s = settings(host);
    s.threads = threads < 1 ? 1 : threads;
    if (s.pool && s.pool->threads() != s.threads) s.pool.reset();
}

int hostThreads(Host& host) { return settings(host).threads; }

void installIterateSuites(Host& host) {
    host.serveSuite("AEGP Iterate Suite", 1, &kIterateSuite1);
    host.serveSuite("PF Iterate8 Suite", 1, &kIterate8Suite1);
}

} // namespace OrvaneHost
