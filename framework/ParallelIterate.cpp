#include "ParallelIterate.h"

#include "HostBoundary.h"

#include "../suites/SuiteTable.h"

#include <utility>

namespace Orvane::Filter {

namespace {

// Runs on the host's worker threads. The host thread 0 asks abort before each iteration it runs.
PF_Err iterateBand(void* refcon, A_long thread_index, A_long i, A_long iterations) {
    return callFromHost([&] {
        auto* context = static_cast<IterateContext*>(refcon);
        if (thread_index == 0) {
            if (const PF_Err err = context->in_data->inter.abort(context->in_data->effect_ref)) return err;
        }
        return context->band(i, iterations);
    });
}

} // namespace

PF_Err parallelIterate(PF_InData* in_data, BandFunction band, A_long count) {
    if (!band) return PF_Err_NONE;
    SuiteTable suites(in_data->pica_basicP);
    if (count <= 0) {
        if (const A_Err err = suites.aegpIterateSuite1()->AEGP_GetNumThreads(&count)) return err;
    }
    if (count <= 1) {
        const PF_Err err = band(0, 1);
        return err ? err : in_data->inter.abort(in_data->effect_ref);
    }
    IterateContext context{in_data, band};
    return suites.pfIterate8Suite1()->iterate_generic(count, &context, iterateBand);
}

} // namespace Orvane::Filter
