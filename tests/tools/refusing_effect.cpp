// A stand-in effect module that refuses parameter setup with a message, so that the renderer's handling
// of an effect's error can be seen from outside.
#include "sdk/host_sdk.h"

#include <cstring>

extern "C" __attribute__((visibility("default"))) PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData*, PF_OutData* out_data,
                                                                        PF_ParamDef*[], PF_LayerDef*, void*) {
    if (cmd != PF_Cmd_PARAMS_SETUP) return PF_Err_NONE;
    std::strcpy(out_data->return_msg, "parameters are not available today");
    out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    return PF_Err_BAD_CALLBACK_PARAM;
}
