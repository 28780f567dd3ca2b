#include "Filter.h"

#include "BandLoop.h"
#include "ParallelIterate.h"
#include "PixelDepth.h"

#include <cstdint>
#include <functional>
#include <utility>

namespace Orvane::Filter {

Filter::Filter(PF_InData* in_data, int depth) : in_data(in_data), suites(in_data->pica_basicP), depth(depth) {}

Filter::~Filter() = default;

void Filter::setWorlds(PF_EffectWorld* sourceWorld, PF_EffectWorld* destinationWorld) {
    source = sourceWorld;
    destination = destinationWorld;
}

PF_Err Filter::run() {
    if (!source || !destination) return PF_Err_NONE;
    return render();
}

namespace {
int pixelSizeOf(int depth) { return bytesPerPixel(isPixelDepth(depth) ? PixelDepth(depth) : Depth32); }
} // namespace

// Every pixel the band loops address must lie inside both buffers: a host buffer with pixels missing, rows
// shorter than its width, or a destination smaller than the source is refused rather than overrun.
bool Filter::buffersFit() const {
    if (source->width <= 0 || source->height <= 0) return true;
    const std::int64_t rowPixelBytes = std::int64_t(source->width) * pixelSizeOf(depth);
    return source->data && destination->data && destination->width >= source->width &&
           destination->height >= source->height && source->rowbytes >= rowPixelBytes &&
           destination->rowbytes >= rowPixelBytes;
}

PF_Err Filter::renderBands(BandFunction band) {
    if (isPixelDepth(depth) && !buffersFit()) return PF_Err_BAD_CALLBACK_PARAM;
    return parallelIterate(in_data, std::move(band), 0);
}

SimpleFilter::SimpleFilter(PF_InData* in_data, int depth) : Filter(in_data, depth) {}

PF_Err SimpleFilter::render() {
    if (!function || !*function) return PF_Err_NONE;
    return renderBands(std::bind(&SimpleFilter::renderBand, this, std::placeholders::_1, std::placeholders::_2));
}

PF_Err SimpleFilter::renderBand(int index, int count) {
    if (!function || !*function) return PF_Err_NONE;
    switch (depth) {
    case Depth8:
        return renderBandAt<PF_Pixel8>(in_data, *source, *destination, *function, index, count);
    case Depth16:
        return renderBandAt<PF_Pixel16>(in_data, *source, *destination, *function, index, count);
    case Depth32:
        return renderBandAt<PF_PixelFloat>(in_data, *source, *destination, *function, index, count);
    default:
        return PF_Err_NONE;
    }
}

RowFilter::RowFilter(PF_InData* in_data, int depth) : Filter(in_data, depth) {}

PF_Err RowFilter::render() {
    if (!function || !*function) return PF_Err_NONE;
    return renderBands(std::bind(&RowFilter::renderBand, this, std::placeholders::_1, std::placeholders::_2));
}

PF_Err RowFilter::renderBand(int index, int count) {
    if (!function || !*function || !isPixelDepth(depth)) return PF_Err_NONE;
    const auto pixelDepth = static_cast<PixelDepth>(depth);
    const A_long width = source->width;
    return forEachBandRow(in_data, source->height, index, count, [&](A_long y) {
        if (width > 0) (*function)(pixelDepth, y, width, rowOf(*destination, y));
    });
}

} // namespace Orvane::Filter
