// How the simulated host behaves where a real host may choose: buffer padding, threads and the order of
// iterations, handles that move, the thread commands arrive on, checkouts without pixels, its time scale,
// frames rendered at once, and when the user stops a render. The defaults are a plain host; every other
// value is one a real host may show, and the effect must render the same frame under each.
#pragma once

#include "../sdk/host_sdk.h"

#include <cstdint>

namespace OrvaneHost {

constexpr int kDefaultHostThreads = 4;
constexpr A_u_long kTimeScale = 120000; // host time units per second unless a behaviour says otherwise

enum class IterationOrder {
    InOrder,  // thread t runs iterations t, t + threads, ... in increasing order
    Reverse,  // the same over the iterations taken from the last
    Shuffled, // the same over a shuffle of the iterations (from `seed`)
};

struct HostBehaviour {
    // Bytes after every row of every buffer the host makes (the layer, the output, worlds made through the
    // world suites): any number, so a row need not start on a whole pixel.
    int rowPaddingBytes = 0;

    // What AEGP_GetNumThreads reports (0 allowed) and how many threads iterate_generic runs its iterations on
    // (0: as many as reported, at least 1), so a host may hand out more iterations than it has workers.
    int reportedThreads = kDefaultHostThreads;
    int workerThreads = 0;
    IterationOrder order = IterationOrder::InOrder;
    bool jitter = false;           // a short pause of pseudo-random length before each iteration
    bool threadZeroSpawned = false; // thread 0 is a worker of the pool, not the thread that called
    unsigned seed = 1;             // for Shuffled and jitter

    // A handle's block moves whenever its last lock goes, and the old block is overwritten, so a pointer
    // kept past the unlock reads garbage.
    bool relocateUnlockedHandles = false;

    // Smart pre-render and smart render each arrive on a thread of their own, never global setup's.
    bool renderOnOtherThread = false;

    // checkout_layer_pixels / checkout_output succeed without pixels (a layer with nothing where the
    // frame asks); the input's pre-render checkout then reports empty rectangles.
    bool emptyInputCheckout = false;
    bool emptyOutputCheckout = false;

    // Units per second of in_data->time_scale and of the times the host hands out.
    A_u_long timeScale = kTimeScale;

    // renderFrame renders this many requests of the frame at once, each on a thread of its own with its own
    // effect reference, in_data and buffers, and records a host error when they differ.
    int concurrentFrames = 1;

    // From the abortAtCall-th call of inter.abort on (counted from when the behaviour is set), the host
    // answers abortCode, as when the user stops a render. 0: never.
    std::uint64_t abortAtCall = 0;
    PF_Err abortCode = 0;
};

} // namespace OrvaneHost
