#include "RampRows.h"

#include "../framework/BandLoop.h"
#include "../framework/PixelDepth.h"
#include "../framework/RowFill.h"

#include <algorithm>
#include <cstring>

namespace Orvane {

namespace {

void describe(const LinearDistance& d, RampKernelData& k) {
    k.radial = false;
    k.point1X = d.point1.x, k.point1Y = d.point1.y;
    k.directionX = d.direction.x, k.directionY = d.direction.y;
    k.originX = d.origin.x, k.originY = d.origin.y;
}

void describe(const RadialDistance& d, RampKernelData& k) {
    k.radial = true;
    k.point1X = d.point1.x, k.point1Y = d.point1.y;
    k.originX = d.origin.x, k.originY = d.origin.y;
}

template <class Distance> void describe(const NoRepeat<Distance>& p, RampKernelData& k) {
    describe(p.distance, k);
    k.repeat = RampRepeat::None;
}
template <class Distance> void describe(const LoopRepeat<Distance>& p, RampKernelData& k) {
    describe(p.distance, k);
    k.repeat = RampRepeat::Loop;
    k.repeatLength = p.length;
}
template <class Distance> void describe(const PingpongRepeat<Distance>& p, RampKernelData& k) {
    describe(p.distance, k);
    k.repeat = RampRepeat::Pingpong;
    k.repeatLength = p.length;
}

template <class Pixel> void store(const Pixel& pixel, unsigned char* to) { std::memcpy(to, &pixel, sizeof pixel); }

} // namespace

RampRowPainter rampRowPainter(VectorPath path) {
    switch (path) {
    case VectorPath::Avx512:
        return paintRampRowAvx512;
    case VectorPath::Avx2:
        return paintRampRowAvx2;
    default:
        return paintRampRowSse2;
    }
}

RampRows::RampRows(const PositionFunction& position, const RampInputs& in, VectorPath wanted)
    : painter(rampRowPainter(runsVectorPath(wanted) ? wanted : fastestVectorPath())) {
    std::visit([this](const auto& concrete) { describe(concrete, kernel); }, position.get());
    // A length that is not positive puts every position from 0 on at or past the end, as 0 does: the
    // painters rely on a positive length or 0 (smart render's is never below 1e-6).
    kernel.rampLength = in.rampLength > 0 ? in.rampLength : 0.0;
    kernel.color = in.color;
    kernel.opacity = in.opacity;
    kernel.colorTable = !in.colors.empty();
    kernel.opacityTable = !in.opacities.empty();
    // Never an index outside a table, whatever the count says.
    A_long count = in.entryCount;
    if (kernel.colorTable) count = std::min(count, static_cast<A_long>(in.colors.size()));
    if (kernel.opacityTable) count = std::min(count, static_cast<A_long>(in.opacities.size()));
    if (count <= 1) {
        // A table of one entry gives that entry everywhere (behind the ramp, at its end and past it).
        if (kernel.colorTable) kernel.color = in.colors.front();
        if (kernel.opacityTable) kernel.opacity = in.opacities.front();
        kernel.colorTable = kernel.opacityTable = false;
    } else if (kernel.colorTable || kernel.opacityTable) {
        entries = kernel.colorTable ? in.colors : ColorTable(std::size_t(count), in.color);
        if (kernel.opacityTable)
            for (A_long i = 0; i < count; ++i) entries[std::size_t(i)].alpha = in.opacities[std::size_t(i)];
        kernel.entries = entries.data();
        kernel.entryCount = count;
    }
    constant = !kernel.entries;
    const PF_PixelFloat result{kernel.opacity, kernel.color.red, kernel.color.green, kernel.color.blue};
    store(Filter::DepthIo<PF_Pixel8>::write(result), constantPixel[Depth8]);
    store(Filter::DepthIo<PF_Pixel16>::write(result), constantPixel[Depth16]);
    store(Filter::DepthIo<PF_PixelFloat>::write(result), constantPixel[Depth32]);
}

void RampRows::operator()(PixelDepth depth, A_long y, A_long width, unsigned char* row) const {
    if (!isPixelDepth(depth) || width <= 0) return;
    if (constant) return Filter::fillRow(row, width, constantPixel[depth], bytesPerPixel(depth));
    painter(kernel, depth, y, width, row);
}

} // namespace Orvane
