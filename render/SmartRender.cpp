// Placeholder until rendering is built.
#include "../entry/Handlers.h"

namespace Orvane {

PF_Err smartPreRender(PF_InData*, PF_OutData*, PF_PreRenderExtra*) { return PF_Err_NONE; }
PF_Err smartRender(PF_InData*, PF_OutData*, PF_SmartRenderExtra*) { return PF_Err_NONE; }

} // namespace Orvane
