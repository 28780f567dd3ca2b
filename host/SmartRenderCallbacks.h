// The smart-render protocol's callbacks: checkout_layer during pre-render (the host records each request and
// its checkout id and answers with the input's rectangles), and checkout_layer_pixels / checkout_output
// during smart render (the frame's input layer under a checkout id requested for it, and its output). Each
// call finds its frame by the effect reference it carries.
#pragma once

#include "FrameState.h"

#include "../sdk/host_sdk.h"

namespace OrvaneHost {

// Tables the frame driver puts into the extra blocks.
PF_PreRenderCallbacks* preRenderCallbacks();
PF_SmartRenderCallbacks* smartRenderCallbacks();

} // namespace OrvaneHost
