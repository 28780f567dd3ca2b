// What the host's copy, fill and transfer services received, call by call, for tests to read through
// host.extension<WorldServiceLog>(): kept by a recording host only.
#pragma once

#include "../sdk/host_sdk.h"

#include <optional>
#include <vector>

namespace OrvaneHost {

struct CopyRequest {
    const PF_EffectWorld* source = nullptr;
    const PF_EffectWorld* destination = nullptr;
    std::optional<PF_Rect> sourceRect; // empty when the effect passed null
    std::optional<PF_Rect> destRect;
};

struct FillRequest {
    std::optional<PF_Pixel8> colour;
    std::optional<PF_Rect> rect;
    const PF_EffectWorld* world = nullptr;
};

struct TransferRequest {
    PF_Quality quality = 0;
    PF_ModeFlags modeFlags = 0;
    PF_Field field = 0;
    std::optional<PF_Rect> sourceRect;
    const PF_EffectWorld* source = nullptr;
    std::optional<PF_CompositeMode> composite;
    bool masked = false;
    A_long destX = 0;
    A_long destY = 0;
    const PF_EffectWorld* destination = nullptr;
    // Whether the host changed pixels: it composites the normal mode with straight alpha and no mask, and
    // only records every other request.
    bool composited = false;
};

struct WorldServiceLog {
    std::vector<CopyRequest> copies;
    std::vector<FillRequest> fills;
    std::vector<TransferRequest> transfers;
};

// The host's normal transfer mode: the source over the destination.
constexpr PF_TransferMode kTransferNormal = 2;

} // namespace OrvaneHost
