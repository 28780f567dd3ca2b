// What the host keeps about one frame request while it is rendered: its buffers, which command of the
// smart-render protocol runs, the layer checkouts pre-render made, and what the effect asked for. Each frame
// has an effect reference of its own (the address of its FrameState), so several frames of one effect
// instance can render at once.
#pragma once

#include "../sdk/host_sdk.h"

#include <cstddef>
#include <map>
#include <vector>

namespace OrvaneHost {

struct WorldBuffer;

struct LayerCheckout {
    PF_ParamIndex index = 0;
    A_long checkoutId = 0;
    PF_RenderRequest request{};
    A_long time = 0;
    A_long timeStep = 0;
    A_u_long timeScale = 0;
};

enum class RenderPhase { Idle, PreRender, SmartRender };

// A parameter as a checkout handed it out.
struct CheckedOutValue {
    PF_ParamIndex index = 0;
    PF_ParamDef value{};
};

struct FrameState {
    WorldBuffer* layer = nullptr;  // the input layer's pixels for this frame
    WorldBuffer* output = nullptr; // the frame's output buffer
    RenderPhase phase = RenderPhase::Idle;
    std::vector<LayerCheckout> checkouts; // made in this frame's pre-render
    int pixelCheckouts = 0;               // checkout_layer_pixels calls in this frame's smart render
    int outputCheckouts = 0;
    std::vector<PF_Handle> preRenderHandles; // handles the effect made during pre-render
    // Parameters checked out during pre-render, with the values the host handed out, in the order asked.
    std::vector<CheckedOutValue> checkedOut;
    // AEGP_GetNewStreamValue calls during smart render, in all and by parameter index.
    std::size_t streamValueRequests = 0;
    std::map<PF_ParamIndex, std::size_t> streamValueRequestsByParam;

    void noteStreamValueRequest(PF_ParamIndex index) {
        ++streamValueRequests;
        ++streamValueRequestsByParam[index];
    }
};

} // namespace OrvaneHost
