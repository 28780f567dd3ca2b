// The effect's cases: whole smart renders through the host (loaded module, host worker threads), the pixel
// pass alone on each vector path and through the plain per-pixel filter, and keyframe sampling alone.
#include "Cases.h"

#include "framework/Filter.h"
#include "framework/PixelDepth.h"
#include "host/CallingHost.h"
#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/HostThreads.h"
#include "host/ParamStreams.h"
#include "host/ParameterControls.h"
#include "host/Scene.h"
#include "render/RampGeometry.h"
#include "render/RampPixel.h"
#include "render/RampRows.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace OrvaneBench {

namespace {

using namespace OrvaneHost;

using namespace Orvane;

// The ramp of every frame case, on the 3840 x 2160 frame: a diagonal, so no row is constant. The 8K frame
// is the same picture at twice the resolution.
constexpr double kP1x = 200, kP1y = 300, kP2x = 3500, kP2y = 1900;
constexpr double kPoints[4] = {kP1x, kP1y, kP2x, kP2y};
constexpr double kSamplingPoints[4] = {0, 100, 4000, 100}; // a 4000-pixel ramp

int allThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

std::shared_ptr<Host> appliedHost() {
    auto host = std::make_shared<Host>(std::string(ORVANE_MODULE_PATH));
    if (applyEffect(*host) != PF_Err_NONE) throw std::runtime_error("the effect could not be applied");
    return host;
}

// A keyframe with the easy ease on both sides, or linear.
Keyframe keyAt(double seconds, const StreamValue& value, Keys keys) {
    Keyframe key{timeAt(seconds), value};
    if (keys == Keys::Eased) key.in = key.out = KeyframeSide{Interpolation::Bezier, Ease{}};
    return key;
}

void setRamp(Host& host, int shape, int repeat, Tables tables, double scale, double p1x, double p1y, double p2x,
             double p2y, Keys keys = Keys::Linear) {
    Scene scene;
    scene.set(kParamShape, popupValue(shape))
        .set(kParamRepeat, popupValue(repeat))
        .set(kParamPoint1, pointValue(p1x * scale, p1y * scale))
        .set(kParamPoint2, pointValue(p2x * scale, p2y * scale))
        .set(kParamColor, colorValue(PF_Pixel8{255, 200, 100, 50}))
        .set(kParamOpacity, sliderValue(75));
    if (tables != Tables::Constant)
        scene.key(kParamColor, keyAt(0, colorValue(1, 1, 0.25, 0), keys))
            .key(kParamColor, keyAt(0.75, colorValue(1, 0, 1, 0.5), keys))
            .key(kParamColor, keyAt(2, colorValue(1, 0.125, 0, 1), keys));
    if (tables == Tables::Both)
        scene.key(kParamOpacity, keyAt(0.5, sliderValue(100), keys))
            .key(kParamOpacity, keyAt(1.5, sliderValue(20), keys));
    applyScene(host, scene);
}

// Smart render's wall time only: the host's buffer making and the copy out are not the effect's. Each run
// renders on a host of its own.
Measure renderMeasure(int threads, int shape, int repeat, Tables tables, double scale, const double (&points)[4],
                      LayerSetup layer, Keys keys = Keys::Linear) {
    const double p1x = points[0], p1y = points[1], p2x = points[2], p2y = points[3];
    return [=] {
        auto host = appliedHost();
        setHostThreads(*host, threads);
        setRamp(*host, shape, repeat, tables, scale, p1x, p1y, p2x, p2y, keys);
        FrameReport report;
        Frame frame;
        if (renderFrame(*host, layer, 0, frame, &report) != PF_Err_NONE) throw std::runtime_error(report.message);
        return report.renderSeconds;
    };
}

Orvane::VectorPath pathNamed(const std::string& name) {
    if (name == "avx512") return Orvane::VectorPath::Avx512;
    if (name == "avx2") return Orvane::VectorPath::Avx2;
    return Orvane::VectorPath::Sse2;
}

// What one pass needs, kept alive by its measurement.
struct Pass {
    std::shared_ptr<Host> host = appliedHost(); // whose suites the filter calls
    Orvane::ColorTable colors;
    Orvane::OpacityTable opacities;
    std::unique_ptr<Orvane::PositionFunction> position;
    std::vector<unsigned char> in, out;
    PF_EffectWorld source{}, destination{};
    Orvane::Filter::PixelFunction pixel;
    std::unique_ptr<Orvane::RampRows> rows;
    Orvane::Filter::RowFunction paint;
};

// The pixel pass over a frame of its own: one band on this thread, as a host with one thread runs it, or
// the filter's own bands on the host's threads.
Measure passMeasure(const std::string& path, int depth, int shape, int repeat, bool all) {
    auto pass = std::make_shared<Pass>();
    Orvane::RampRenderParams record{};
    record.shape = shape;
    record.repeat = repeat;
    record.point1[0] = kP1x, record.point1[1] = kP1y, record.point2[0] = kP2x, record.point2[1] = kP2y;
    const Orvane::RampGeometry geometry = Orvane::deriveGeometry(record, nullptr);
    const A_long entries = A_long(std::ceil(geometry.rampLength)) + (repeat == kRepeatLoop ? 1 : 0);
    for (A_long i = 0; i < entries; ++i) {
        const float u = float(i) / float(entries - 1);
        pass->colors.push_back(PF_PixelFloat{1.0f, u, 1.0f - u, u * u});
    }
    const PF_PixelFloat color{1, 0.8f, 0.4f, 0.2f};
    const Orvane::RampInputs inputs{pass->colors, pass->opacities, color, 0.75f, geometry.rampLength, entries};
    pass->position = std::make_unique<Orvane::PositionFunction>(Orvane::makePositionFunction(shape, repeat, geometry));
    const std::size_t rowbytes = std::size_t(kWidth) * std::size_t(bytesPerPixel(depth));
    pass->in.assign(rowbytes * kHeight, 0);
    pass->out.assign(rowbytes * kHeight, 0);
    for (auto* w : {&pass->source, &pass->destination})
        w->width = kWidth, w->height = kHeight, w->rowbytes = A_long(rowbytes);
    pass->source.data = reinterpret_cast<PF_PixelPtr>(pass->in.data());
    pass->destination.data = reinterpret_cast<PF_PixelPtr>(pass->out.data());
    if (path == "plain") {
        pass->pixel = Orvane::makePixelFunction(*pass->position, inputs);
    } else {
        pass->rows = std::make_unique<Orvane::RampRows>(*pass->position, inputs, pathNamed(path));
        pass->paint = std::cref(*pass->rows);
    }
    const int code = *Orvane::depthOfBits(depth);
    return [pass, code, all] {
        setHostThreads(*pass->host, all ? allThreads() : 1);
        CallingHost caller(*pass->host); // the pass calls the host's suites as the effect does in a command
        const auto start = std::chrono::steady_clock::now();
        PF_Err err = PF_Err_NONE;
        if (pass->rows) {
            Orvane::Filter::RowFilter filter(&pass->host->inData(), code);
            filter.setWorlds(&pass->source, &pass->destination);
            filter.setFunction(&pass->paint);
            err = all ? filter.run() : filter.renderBand(0, 1);
        } else {
            Orvane::Filter::SimpleFilter filter(&pass->host->inData(), code);
            filter.setWorlds(&pass->source, &pass->destination);
            filter.setFunction(&pass->pixel);
            err = all ? filter.run() : filter.renderBand(0, 1);
        }
        if (err != PF_Err_NONE) throw std::runtime_error("the pass was stopped");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
}

} // namespace

double pixelsOf(Size size) { return double(kWidth) * kHeight * (size == Size::Uhd8k ? 4 : 1); }

Case frameCase(int depth, int shape, int repeat, Tables tables, bool all, Size size) {
    const int scale = size == Size::Uhd8k ? 2 : 1;
    const std::string name = std::string("frame/") + (scale == 2 ? "8k/" : "") + std::to_string(depth) + "/" +
                             shapeName(shape) + "/" + repeatName(repeat) + "/" + tablesName(tables) +
                             (all ? "/threads:all" : "/threads:1");
    return Case{name, pixelsOf(size), [=] {
                    LayerSetup layer;
                    layer.width = kWidth * scale;
                    layer.height = kHeight * scale;
                    layer.depth = depth;
                    return renderMeasure(all ? allThreads() : 1, shape, repeat, tables, scale, kPoints, layer);
                }};
}

Case passCase(const std::string& path, int depth, int shape, int repeat, bool all) {
    const std::string name = "pass/" + path + "/" + std::to_string(depth) + "/" + shapeName(shape) + "/" +
                             repeatName(repeat) + "/color" + (all ? "/threads:all" : "");
    return Case{name, pixelsOf(Size::Uhd), [=] { return passMeasure(path, depth, shape, repeat, all); }};
}

// 8,000 value requests: a 4000-pixel ramp with "Color" and "Opacity" keyframed, on a frame so small that
// the pixel pass is nothing; and the full frame with the same ramp, for the share sampling takes. Eased,
// every request solves the segment's time curve.
Case samplingCase(bool fullFrame, Keys keys) {
    const std::string name =
        std::string(fullFrame ? "sampling/frame-with-that-ramp" : "sampling/4000px-ramp-both-keyframed") +
        (keys == Keys::Eased ? "-eased" : "");
    return Case{name, fullFrame ? pixelsOf(Size::Uhd) : 256.0, [=] {
                    LayerSetup layer;
                    layer.width = fullFrame ? kWidth : 16;
                    layer.height = fullFrame ? kHeight : 16;
                    layer.depth = 8;
                    return renderMeasure(allThreads(), kShapeLinear, kRepeatNone, Tables::Both, 1, kSamplingPoints,
                                         layer, keys);
                }};
}

} // namespace OrvaneBench
