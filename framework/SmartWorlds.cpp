#include "SmartWorlds.h"

namespace Orvane {

PF_Err checkoutInputWorld(PF_InData* in_data, PF_SmartRenderExtra* extra, std::shared_ptr<World>& out) {
    PF_EffectWorld* pixels = nullptr;
    const PF_Err err = extra->cb->checkout_layer_pixels(in_data->effect_ref, kInputCheckoutId, &pixels);
    out = std::make_shared<World>(pixels);
    return err;
}

PF_Err checkoutOutputWorld(PF_InData* in_data, PF_SmartRenderExtra* extra, std::shared_ptr<World>& out) {
    PF_EffectWorld* pixels = nullptr;
    const PF_Err err = extra->cb->checkout_output(in_data->effect_ref, &pixels);
    out = std::make_shared<World>(pixels);
    return err;
}

} // namespace Orvane
