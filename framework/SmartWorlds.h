// The smart-render buffers as Worlds: the input layer checked out under the id pre-render requested it
// with, and the output. Neither is checked in: the host keeps both.
#pragma once

#include "World.h"

#include "../sdk/host_sdk.h"

#include <memory>

namespace Orvane {

// The checkout id under which smart pre-render requests the input layer.
constexpr A_long kInputCheckoutId = 0;

// Each replaces `out` with a new World over the buffer as the host left it (null unless the host wrote one),
// whatever the result, and returns the host's result.
PF_Err checkoutInputWorld(PF_InData* in_data, PF_SmartRenderExtra* extra, std::shared_ptr<World>& out);
PF_Err checkoutOutputWorld(PF_InData* in_data, PF_SmartRenderExtra* extra, std::shared_ptr<World>& out);

} // namespace Orvane
