#include "StreamVisibility.h"

#include "../suites/ScopedAegpObject.h"

namespace Orvane {

PF_Err setParamStreamHidden(AEGP_PluginID pluginId, SuiteTable& suites, AEGP_EffectRefH effect,
                            PF_ParamIndex index, A_Boolean hide) {
    AEGP_StreamSuite9& streamSuite = *suites.aegpStreamSuite9();
    ScopedStreamRef stream(streamSuite.AEGP_DisposeStream);
    PF_Err err = streamSuite.AEGP_GetNewEffectStreamByIndex(pluginId, effect, index, stream.receive());
    if (err == PF_Err_NONE)
        err = suites.aegpDynamicStreamSuite5()->AEGP_SetDynamicStreamFlag(stream.get(), AEGP_DynStreamFlag_HIDDEN,
                                                                          FALSE, hide);
    keepFirstError(err, stream.release());
    return err;
}

} // namespace Orvane
