// Stand-in effect modules that refuse parameter setup, so that the renderer's handling of an effect's error
// can be seen from outside: built once refusing with a message, and once out of memory.
#include "sdk/host_sdk.h"

#include <cstring>

#ifndef ORVANE_REFUSAL
#define ORVANE_REFUSAL PF_Err_BAD_CALLBACK_PARAM
#endif

extern "C" __attribute__((visibility("default"))) PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData*, PF_OutData* out_data,
                                                                        PF_ParamDef*[], PF_LayerDef*, void*) {
    if (cmd != PF_Cmd_PARAMS_SETUP) return PF_Err_NONE;
    if (ORVANE_REFUSAL != PF_Err_OUT_OF_MEMORY) {
        std::strcpy(out_data->return_msg, "parameters are not available today");
        out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    }
    return ORVANE_REFUSAL;
}
