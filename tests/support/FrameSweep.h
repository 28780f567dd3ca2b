// A failure at every host call of one frame (pre-render, then smart render): the code the frame returns, no
// pixel written before the pixel pass, everything given back and only the global data left live.
#pragma once

#include "support/FaultSweep.h"

#include "host/FrameSession.h"

namespace OrvaneTest {

// The code a frame returns when the call `point` names fails: a refused suite is 516; a pre-render handle
// that cannot be made or locked is out of memory; smart render's lock of the stored handle failing is 516;
// every other call's error comes back unchanged.
inline PF_Err expectedFrameResult(const SweepPoint& point, std::uint64_t firstLock) {
    const std::string& name = point.call.name;
    if (name == "AcquireSuite") return PF_Err_BAD_CALLBACK_PARAM;
    if (name == "host_new_handle") return PF_Err_OUT_OF_MEMORY;
    if (name == "host_lock_handle")
        return point.occurrence == firstLock ? PF_Err_OUT_OF_MEMORY : PF_Err_BAD_CALLBACK_PARAM;
    return kInjectedError;
}

// Returns the number of failures injected.
inline std::size_t sweepFrameFaults(const std::function<void(OrvaneHost::Host&)>& setUp,
                                    const OrvaneHost::LayerSetup& layer, A_long time) {
    bool untouched = false;
    std::uint64_t pixelPass = 0, firstLock = 0;
    SweepSteps steps;
    steps.makeHost = loadModuleHost;
    steps.setUp = setUp;
    steps.command = [&](OrvaneHost::Host& host) {
        OrvaneHost::FrameSession session(host, layer, time);
        PF_Err err = session.preRender();
        if (!err) err = session.smartRender();
        untouched = session.outputUntouched();
        return err;
    };
    steps.check = [&](const SweepPoint& point, PF_Err result, OrvaneHost::Host& host) {
        SCOPED_TRACE(describe("frame", point));
        EXPECT_EQ(result, expectedFrameResult(point, firstLock));
        if (point.occurrence < pixelPass) {
            EXPECT_TRUE(untouched) << "no pixel written before the pixel pass";
        }
        EXPECT_TRUE(booksAreClean(host));
        EXPECT_EQ(host.liveHandles(), 1u) << "only the global data";
    };
    return sweepFaults(steps, [&](PF_Err result, const std::vector<OrvaneHost::CallRecord>& calls) {
        EXPECT_EQ(result, PF_Err_NONE);
        EXPECT_FALSE(untouched);
        pixelPass = firstSeqOf(calls, "AEGP_GetNumThreads");
        firstLock = firstSeqOf(calls, "host_lock_handle");
        EXPECT_NE(pixelPass, 0u);
    });
}

} // namespace OrvaneTest
