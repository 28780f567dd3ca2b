#include "ScopedSuite.h"

namespace {

PF_Err reportFailure(PF_InData* in_data, PF_OutData* out_data, const char* message) {
    out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    // The text itself is the format, with no further arguments, as the host's own helpers do.
    in_data->utils->ansi.sprintf(out_data->return_msg, message);
    return PF_Err_BAD_CALLBACK_PARAM;
}

} // namespace

PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version,
                         const char* message, void** suite) {
    if (in_data->pica_basicP) {
        // Only the pointer counts: a host that reports an error but hands out a suite is taken at its word.
        in_data->pica_basicP->AcquireSuite(name, version, const_cast<const void**>(suite));
        if (*suite) return PF_Err_NONE;
    }
    return reportFailure(in_data, out_data, message ? message : "Not able to acquire AEFX Suite.");
}

PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version,
                         const char* message) {
    if (in_data->pica_basicP) {
        in_data->pica_basicP->ReleaseSuite(name, version);
        return PF_Err_NONE;
    }
    return reportFailure(in_data, out_data, message ? message : "Not able to release AEFX Suite.");
}
