#include "ParameterWorld.h"

namespace Orvane {

ParameterWorld::ParameterWorld(PF_InData* in_data) : in_data(in_data), suites(in_data->pica_basicP), param{} {}

ParameterWorld::~ParameterWorld() { checkin(); }

void ParameterWorld::checkin() {
    if (!checkedOut) return;
    // Nothing can be done about a refused check-in while the object goes away.
    in_data->inter.checkin_param(in_data->effect_ref, &param);
    checkedOut = false;
    world = nullptr;
}

PF_Err ParameterWorld::checkout(PF_ParamIndex index, Time time) {
    // A second checkout would overwrite the record the first one still holds, losing it for good.
    checkin();
    const PF_Err err =
        in_data->inter.checkout_param(in_data->effect_ref, index, time.value, in_data->time_step, time.scale, &param);
    if (err != PF_Err_NONE) return err;
    checkedOut = true;
    if (param.u.ld.data) world = &param.u.ld;
    return err;
}

PF_Err checkoutParameterWorld(PF_InData* in_data, PF_ParamIndex index, Time time,
                              std::shared_ptr<ParameterWorld>& out) {
    auto created = std::make_shared<ParameterWorld>(in_data);
    const PF_Err err = created->checkout(index, time);
    if (err == PF_Err_NONE) out = std::move(created);
    return err;
}

} // namespace Orvane
