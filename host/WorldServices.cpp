// The host's copy, fill and transfer services: each is recorded, can be failed on purpose, checks what
// the effect passes, and really changes the pixels it says it changes.
#include "WorldServices.h"

#include "Host.h"
#include "ServeCall.h"
#include "Services.h"
#include "WorldPixels.h"
#include "Worlds.h"

#include "../framework/PixelDepth.h"

#include <optional>
#include <string>

namespace OrvaneHost {

namespace {

std::string describe(const PF_Rect* rect) {
    if (!rect) return "whole";
    return std::to_string(rect->left) + "," + std::to_string(rect->top) + "," + std::to_string(rect->right) + "," +
           std::to_string(rect->bottom);
}

// A world the host can work on: the host's own record of the buffer the effect's record points at (so a
// record the effect altered cannot send the host past the buffer) and its depth code (0, 1 or 2).
struct Target {
    PF_EffectWorld world;
    int depth;
};

// No world at all is refused quietly; a record over pixels the host never made, or has taken back, is a
// host error as well.
std::optional<Target> targetOf(Host& host, const PF_EffectWorld* world, const char* call) {
    if (!world) return std::nullopt;
    const WorldBuffer* buffer = findWorld(host, world);
    if (!buffer) {
        host.books().hostError(std::string(call) + ": not a live world of this host");
        return std::nullopt;
    }
    const int depth = Orvane::depthOfBits(buffer->depth).value_or(Orvane::Depth8);
    return Target{buffer->world, depth};
}

bool checkEffectRef(Host& host, PF_ProgPtr effect_ref, const char* call) {
    if (host.isEffectRef(effect_ref)) return true;
    host.books().hostError(std::string(call) + ": not this effect's reference");
    return false;
}

PF_Rect whole(const PF_EffectWorld& world) { return PF_Rect{0, 0, world.width, world.height}; }

PF_Err copyWorld(PF_ProgPtr effect_ref, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_r, PF_Rect* dst_r) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "copy", [&] { return describe(src_r) + " -> " + describe(dst_r); },
                      {FaultMode::Error});
        if (host.recorder())
            host.extension<WorldServiceLog>().copies.push_back(
                CopyRequest{src, dst, src_r ? std::optional<PF_Rect>(*src_r) : std::nullopt,
                            dst_r ? std::optional<PF_Rect>(*dst_r) : std::nullopt});
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "copy")) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        auto source = targetOf(host, src, "copy");
        auto destination = targetOf(host, dst, "copy");
        if (!source || !destination || source->depth != destination->depth)
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        copyPixels(source->world, src_r ? *src_r : whole(source->world), destination->world,
                   dst_r ? *dst_r : whole(destination->world), source->depth);
        return call.result(PF_Err_NONE);
    });
}

PF_Err fillWorld(PF_ProgPtr effect_ref, const PF_Pixel* color, const PF_Rect* dst_rect, PF_EffectWorld* world) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "fill", [&] { return describe(dst_rect); }, {FaultMode::Error});
        if (host.recorder())
            host.extension<WorldServiceLog>().fills.push_back(
                FillRequest{color ? std::optional<PF_Pixel8>(*color) : std::nullopt,
                            dst_rect ? std::optional<PF_Rect>(*dst_rect) : std::nullopt, world});
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "fill")) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        auto target = targetOf(host, world, "fill");
        if (!target || !color) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        fillPixels(target->world, dst_rect ? *dst_rect : whole(target->world), *color, target->depth);
        return call.result(PF_Err_NONE);
    });
}

PF_Err transferRect(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field, const PF_Rect* src_rec,
                    const PF_EffectWorld* src_world, const PF_CompositeMode* comp_mode,
                    const PF_MaskWorld* mask_world0, A_long dest_x, A_long dest_y, PF_EffectWorld* dst_world) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "transfer_rect",
                      [&] {
                          return "xfer " + (comp_mode ? std::to_string(comp_mode->xfer) : std::string("none")) +
                                 ", flags " + std::to_string(m_flags) + ", " + describe(src_rec) + " at " +
                                 std::to_string(dest_x) + "," + std::to_string(dest_y);
                      },
                      {FaultMode::Error});
        TransferRequest* logged = nullptr;
        if (host.recorder()) {
            auto& transfers = host.extension<WorldServiceLog>().transfers;
            transfers.push_back(TransferRequest{quality, m_flags, field,
                                                src_rec ? std::optional<PF_Rect>(*src_rec) : std::nullopt, src_world,
                                                comp_mode ? std::optional<PF_CompositeMode>(*comp_mode) : std::nullopt,
                                                mask_world0 != nullptr, dest_x, dest_y, dst_world, false});
            logged = &transfers.back();
        }
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "transfer_rect")) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        auto source = targetOf(host, src_world, "transfer_rect");
        auto destination = targetOf(host, dst_world, "transfer_rect");
        if (!source || !destination || source->depth != destination->depth || !src_rec || !comp_mode)
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        if (comp_mode->xfer == kTransferNormal && m_flags == PF_MF_Alpha_STRAIGHT && !mask_world0) {
            // 8-bit worlds take the byte opacity, deeper ones the finer 0..32768 one.
            const int depth = source->depth;
            const double opacity = depth == 0 ? comp_mode->opacity / 255.0 : comp_mode->opacitySu / 32768.0;
            compositeNormalStraight(source->world, *src_rec, destination->world, dest_x, dest_y, opacity,
                                    comp_mode->rgb_only != 0, depth);
            if (logged) logged->composited = true;
        }
        return call.result(PF_Err_NONE);
    });
}

} // namespace

void installWorldServices(Host& host) {
    PF_UtilCallbacks& utils = host.utilCallbacks();
    utils.copy = copyWorld;
    utils.fill = fillWorld;
    utils.transfer_rect = transferRect;
}

} // namespace OrvaneHost
