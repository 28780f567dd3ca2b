// Non-throwing acquisition of one suite for the length of one operation. Failure is reported the way the
// host expects a plug-in to report a problem to the user: a message in out_data->return_msg, the display
// flag raised, and PF_Err_BAD_CALLBACK_PARAM returned.
#pragma once

#include "../sdk/host_sdk.h"

PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version,
                         const char* message, void** suite);

PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version,
                         const char* message);
