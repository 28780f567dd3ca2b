#include "PixelFormat.h"

#include "PixelDepth.h"

#include "../suites/ScopedSuite.h"

namespace Orvane {

namespace {
constexpr const char* kWorldSuiteName = "PF World Suite";
constexpr A_long kWorldSuiteVersion = 2;
} // namespace

PF_Err getPixelDepth(PF_InData* in_data, PF_OutData* out_data, PF_EffectWorld* world, int& depth) {
    PF_WorldSuite2* suite = nullptr;
    PF_Err err = AEFX_AcquireSuite(in_data, out_data, kWorldSuiteName, kWorldSuiteVersion, "Couldn't load suite.",
                                   reinterpret_cast<void**>(&suite));
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    if (!err && suite) {
        err = suite->PF_GetPixelFormat(world, &format);
        switch (format) {
        case PF_PixelFormat_ARGB128:
            depth = Depth32;
            break;
        case PF_PixelFormat_ARGB64:
            depth = Depth16;
            break;
        case PF_PixelFormat_ARGB32:
            depth = Depth8;
            break;
        default:
            break;
        }
    }
    // A suite the host did not hand out is not given back: that would release someone else's reference.
    if (!suite) return err;
    const PF_Err released =
        AEFX_ReleaseSuite(in_data, out_data, kWorldSuiteName, kWorldSuiteVersion, "Couldn't release suite.");
    return err ? err : released;
}

} // namespace Orvane
