#include "RampPixel.h"

namespace Orvane {

Filter::PixelFunction makePixelFunction(const PositionFunction& position, const RampInputs& in) {
    const bool colorRamp = !in.colors.empty();
    const bool opacityRamp = !in.opacities.empty();
    if (!colorRamp && !opacityRamp)
        return ConstantPixel{PF_PixelFloat{in.opacity, in.color.red, in.color.green, in.color.blue}};
    return std::visit(
        [&](const auto& concrete) -> Filter::PixelFunction {
            using Position = std::decay_t<decltype(concrete)>;
            const TableRamp<Position> ramp{concrete, in.rampLength, in.entryCount};
            if (colorRamp && opacityRamp) return ColorOpacityRampPixel<Position>{ramp, in.colors, in.opacities};
            if (colorRamp) return ColorRampPixel<Position>{ramp, in.colors, in.opacity};
            return OpacityRampPixel<Position>{ramp, in.color, in.opacities};
        },
        position.get());
}

} // namespace Orvane
