// Copy, fill and composite of worlds through the host's utility callbacks. Each returns the host's
// result unchanged.
#pragma once

#include "BlendMode.h"
#include "World.h"

#include "../sdk/host_sdk.h"

#include <memory>

namespace Orvane {

// The whole source into the destination.
PF_Err copyWorld(PF_InData* in_data, const std::shared_ptr<World>& source, const std::shared_ptr<World>& destination);
PF_Err copyWorld(PF_InData* in_data, const std::shared_ptr<World>& source, const std::shared_ptr<World>& destination,
                 PF_Rect source_rect, PF_Rect dest_rect);

// The colour is handed to the host as 8-bit pixels, whatever the world's depth.
PF_Err fillWorld(PF_InData* in_data, const std::shared_ptr<World>& world, const PF_PixelFloat& colour);
PF_Err fillWorld(PF_InData* in_data, const std::shared_ptr<World>& world, PF_Rect rect, const PF_PixelFloat& colour);

// Composites the whole source at the destination's top-left corner, fully opaque.
PF_Err transferWorld(PF_InData* in_data, const std::shared_ptr<World>& source,
                     const std::shared_ptr<World>& destination, BlendMode mode);
// Composites `source_rect` of the source at `dest_point`; `opacity` runs from 0 to 1 (values outside are
// held to that range, NaN counts as 0).
PF_Err transferWorld(PF_InData* in_data, const std::shared_ptr<World>& source,
                     const std::shared_ptr<World>& destination, PF_Rect source_rect, PF_Point dest_point,
                     BlendMode mode, double opacity, bool rgb_only);

// The composite values the host receives for a transfer.
PF_CompositeMode compositeModeFor(BlendMode mode, double opacity, bool rgb_only);

} // namespace Orvane
