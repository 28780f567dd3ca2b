#include "SmartRenderCallbacks.h"

#include "Host.h"
#include "ServeCall.h"
#include "Worlds.h"

#include <algorithm>
#include <string>

namespace OrvaneHost {

namespace {

bool isEmpty(const PF_LRect& r) { return r.left >= r.right || r.top >= r.bottom; }

PF_LRect intersection(const PF_LRect& a, const PF_LRect& b) {
    PF_LRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
    return isEmpty(r) ? PF_LRect{0, 0, 0, 0} : r;
}

PF_Err checkoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest* req,
                     A_long what_time, A_long time_step, A_u_long time_scale, PF_CheckoutResult* result) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "checkout_layer",
                      "index " + std::to_string(index) + " id " + std::to_string(checkout_id), {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        FrameState* frame = host.frameOf(effect_ref);
        if (!frame || !req || !result || index != 0 || frame->phase != RenderPhase::PreRender) {
            host.books().hostError("checkout_layer: bad arguments, or called outside pre-render");
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        frame->checkouts.push_back(LayerCheckout{index, checkout_id, *req, what_time, time_step, time_scale});

        const WorldBuffer* layer = host.behaviour().emptyInputCheckout ? nullptr : frame->layer;
        const PF_LRect bounds = layer ? PF_LRect{0, 0, layer->world.width, layer->world.height} : PF_LRect{0, 0, 0, 0};
        *result = PF_CheckoutResult{};
        result->result_rect = intersection(req->rect, bounds);
        result->max_result_rect = bounds;
        result->par = PF_RationalScale{1, 1};
        result->ref_width = bounds.right;
        result->ref_height = bounds.bottom;
        return call.result(PF_Err_NONE);
    });
}

bool requested(const FrameState& state, A_long checkout_id) {
    return std::any_of(state.checkouts.begin(), state.checkouts.end(),
                       [&](const LayerCheckout& c) { return c.checkoutId == checkout_id; });
}

PF_Err checkoutLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id, PF_EffectWorld** pixels) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "checkout_layer_pixels", "id " + std::to_string(checkout_id), {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        FrameState* frame = host.frameOf(effect_ref);
        if (!frame || !pixels || frame->phase != RenderPhase::SmartRender || !requested(*frame, checkout_id) ||
            !frame->layer) {
            host.books().hostError("checkout_layer_pixels: checkout id not requested in pre-render, or bad call");
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        ++frame->pixelCheckouts;
        *pixels = host.behaviour().emptyInputCheckout ? nullptr : &frame->layer->world;
        return call.result(PF_Err_NONE);
    });
}

PF_Err checkinLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "checkin_layer_pixels", "id " + std::to_string(checkout_id), {});
        if (!host.frameOf(effect_ref)) host.books().hostError("checkin_layer_pixels: bad effect reference");
        return call.result(PF_Err_NONE);
    });
}

PF_Err checkoutOutput(PF_ProgPtr effect_ref, PF_EffectWorld** output) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "checkout_output", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        FrameState* frame = host.frameOf(effect_ref);
        if (!frame || !output || frame->phase != RenderPhase::SmartRender || !frame->output) {
            host.books().hostError("checkout_output: called outside smart render, or bad call");
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        ++frame->outputCheckouts;
        *output = host.behaviour().emptyOutputCheckout ? nullptr : &frame->output->world;
        return call.result(PF_Err_NONE);
    });
}

PF_PreRenderCallbacks preRenderTable = {checkoutLayer};
PF_SmartRenderCallbacks smartRenderTable = {checkoutLayerPixels, checkinLayerPixels, checkoutOutput};

} // namespace

PF_PreRenderCallbacks* preRenderCallbacks() { return &preRenderTable; }
PF_SmartRenderCallbacks* smartRenderCallbacks() { return &smartRenderTable; }

} // namespace OrvaneHost
