#include "PixelFormat.h"

#include "PixelDepth.h"
#include "ScopedWorldSuite2.h"

#include "../suites/FirstError.h"

namespace Orvane {

PF_Err getPixelDepth(PF_InData* in_data, PF_OutData* out_data, PF_EffectWorld* world, int& depth) {
    ScopedWorldSuite2 worlds(in_data, out_data);
    if (!worlds.get()) return worlds.acquisition();
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    PF_Err err = worlds.get()->PF_GetPixelFormat(world, &format);
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
    keepFirstError(err, worlds.release());
    return err;
}

} // namespace Orvane
