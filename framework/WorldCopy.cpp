#include "WorldCopy.h"

#include "PixelConvert.h"
#include "UnitRange.h"

namespace Orvane {

namespace {

PF_EffectWorld* pixelsOf(const std::shared_ptr<World>& world) { return world ? world->get() : nullptr; }

PF_Err transfer(PF_InData* in_data, const std::shared_ptr<World>& source, const std::shared_ptr<World>& destination,
                const PF_Rect& source_rect, const PF_Point& dest_point, const PF_CompositeMode& mode) {
    return in_data->utils->transfer_rect(in_data->effect_ref, PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME,
                                         &source_rect, pixelsOf(source), &mode, nullptr, dest_point.h,
                                         dest_point.v, pixelsOf(destination));
}

} // namespace

PF_Err copyWorld(PF_InData* in_data, const std::shared_ptr<World>& source, const std::shared_ptr<World>& destination) {
    return in_data->utils->copy(in_data->effect_ref, pixelsOf(source), pixelsOf(destination), nullptr, nullptr);
}

PF_Err copyWorld(PF_InData* in_data, const std::shared_ptr<World>& source, const std::shared_ptr<World>& destination,
                 PF_Rect source_rect, PF_Rect dest_rect) {
    return in_data->utils->copy(in_data->effect_ref, pixelsOf(source), pixelsOf(destination), &source_rect,
                                &dest_rect);
}

PF_Err fillWorld(PF_InData* in_data, const std::shared_ptr<World>& world, const PF_PixelFloat& colour) {
    const PF_Pixel8 pixel = toPixel8(colour);
    return in_data->utils->fill(in_data->effect_ref, &pixel, nullptr, pixelsOf(world));
}

PF_Err fillWorld(PF_InData* in_data, const std::shared_ptr<World>& world, PF_Rect rect, const PF_PixelFloat& colour) {
    const PF_Pixel8 pixel = toPixel8(colour);
    return in_data->utils->fill(in_data->effect_ref, &pixel, &rect, pixelsOf(world));
}

PF_CompositeMode compositeModeFor(BlendMode mode, double opacity, bool rgb_only) {
    opacity = heldToUnit(opacity); // so that the conversions below stay in range
    PF_CompositeMode composite{};
    composite.xfer = toHostTransferMode(mode);
    composite.rand_seed = 0;
    composite.opacity = static_cast<A_u_char>(opacity * 255.0);
    composite.rgb_only = rgb_only ? TRUE : FALSE;
    composite.opacitySu = static_cast<A_u_short>(opacity * 32768.0);
    return composite;
}

PF_Err transferWorld(PF_InData* in_data, const std::shared_ptr<World>& source,
                     const std::shared_ptr<World>& destination, BlendMode mode) {
    const PF_Rect whole = source ? source->rect() : PF_Rect{0, 0, 0, 0};
    return transfer(in_data, source, destination, whole, PF_Point{0, 0}, compositeModeFor(mode, 1.0, false));
}

PF_Err transferWorld(PF_InData* in_data, const std::shared_ptr<World>& source,
                     const std::shared_ptr<World>& destination, PF_Rect source_rect, PF_Point dest_point,
                     BlendMode mode, double opacity, bool rgb_only) {
    return transfer(in_data, source, destination, source_rect, dest_point,
                    compositeModeFor(mode, opacity, rgb_only));
}

} // namespace Orvane
