// The smart-render protocol's callbacks: checkout_layer during pre-render (the host records each request and
// its checkout id and answers with the input's rectangles), and checkout_layer_pixels / checkout_output
// during smart render (the input layer under a checkout id requested for this frame, and the output).
#pragma once

#include "../sdk/host_sdk.h"

#include <vector>

namespace OrvaneHost {

class Host;

struct LayerCheckout {
    PF_ParamIndex index = 0;
    A_long checkoutId = 0;
    PF_RenderRequest request{};
    A_long time = 0;
    A_long timeStep = 0;
    A_u_long timeScale = 0;
};

enum class RenderPhase { Idle, PreRender, SmartRender };

// The protocol state of the frame being rendered (host.extension<SmartRenderState>()).
struct SmartRenderState {
    RenderPhase phase = RenderPhase::Idle;
    std::vector<LayerCheckout> checkouts; // made in this frame's pre-render
    int pixelCheckouts = 0;               // checkout_layer_pixels calls in this frame's smart render
    int outputCheckouts = 0;
};

SmartRenderState& smartRenderState(Host& host);

// Tables the frame driver puts into the extra blocks.
PF_PreRenderCallbacks* preRenderCallbacks();
PF_SmartRenderCallbacks* smartRenderCallbacks();

} // namespace OrvaneHost
