// Placeholder until the parameter set is built.
#include "../entry/Handlers.h"

namespace Orvane {

PF_Err paramsSetup(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }
PF_Err updateParamsUi(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }
PF_Err userChangedParam(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, const PF_UserChangedParamExtra*) {
    return PF_Err_NONE;
}

} // namespace Orvane
