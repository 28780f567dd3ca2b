// The effect's cases: whole smart renders through the host (loaded module, host worker threads), the pixel
// pass alone (the filter over the chosen pixel function, no keyframe sampling), and keyframe sampling alone.
#include "BenchResults.h"
#include "CaseNames.h"

#include "framework/Filter.h"
#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/HostThreads.h"
#include "host/ParamStreams.h"
#include "host/ParameterControls.h"
#include "render/RampGeometry.h"
#include "render/RampPixel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace OrvaneBench {

namespace {

using namespace OrvaneHost;

enum : PF_ParamIndex { kShape = 1, kPoint1 = 2, kPoint2 = 3, kRepeat = 4, kColor = 5, kOpacity = 6 };

// The ramp of every frame case: a diagonal, so no row is constant.
constexpr double kP1x = 200, kP1y = 300, kP2x = 3500, kP2y = 1900;

int allThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

std::unique_ptr<Host> appliedHost() {
    auto host = std::make_unique<Host>(std::string(ORVANE_MODULE_PATH));
    if (applyEffect(*host) != PF_Err_NONE) throw std::runtime_error("the effect could not be applied");
    return host;
}

PF_ParamDef& current(Host& host, PF_ParamIndex index) { return host.streams().at(std::size_t(index)).current; }

void setPoint(Host& host, PF_ParamIndex index, double x, double y) {
    current(host, index).u.td.x_value = static_cast<PF_Fixed>(std::lround(x * 65536.0));
    current(host, index).u.td.y_value = static_cast<PF_Fixed>(std::lround(y * 65536.0));
}

void key(Host& host, PF_ParamIndex index, double seconds, const StreamValue& value) {
    addKeyframe(host.streams().at(std::size_t(index)), A_Time{unitsFromSeconds(seconds), kTimeScale}, value);
}

void setRamp(Host& host, int shape, int repeat, int variant, double p1x, double p1y, double p2x, double p2y) {
    current(host, kShape).u.pd.value = shape;
    current(host, kRepeat).u.pd.value = repeat;
    setPoint(host, kPoint1, p1x, p1y);
    setPoint(host, kPoint2, p2x, p2y);
    current(host, kColor).u.cd.value = PF_Pixel8{255, 200, 100, 50};
    current(host, kOpacity).u.fs_d.value = 75;
    if (variant >= 1) {
        key(host, kColor, 0, StreamValue{1, 1, 0.25, 0});
        key(host, kColor, 0.75, StreamValue{1, 0, 1, 0.5});
        key(host, kColor, 2, StreamValue{1, 0.125, 0, 1});
    }
    if (variant >= 2) {
        key(host, kOpacity, 0.5, StreamValue{100, 0, 0, 0});
        key(host, kOpacity, 1.5, StreamValue{20, 0, 0, 0});
    }
}

// Smart render's wall time only: buffer making and the copy out are the host's, not the effect's.
void renderCase(benchmark::State& state, const LayerSetup& layer, Host& host) {
    FrameReport report;
    for (auto _ : state) {
        Frame frame;
        if (renderFrame(host, layer, 0, frame, &report) != PF_Err_NONE) {
            state.SkipWithError(report.message.c_str());
            return;
        }
        state.SetIterationTime(report.renderSeconds);
    }
    state.counters["requests"] = double(report.streamValueRequests);
}

void frameCaseRun(benchmark::State& state, int depth, int shape, int repeat, int variant, bool all) {
    auto host = appliedHost();
    setHostThreads(*host, all ? allThreads() : 1);
    setRamp(*host, shape, repeat, variant, kP1x, kP1y, kP2x, kP2y);
    LayerSetup layer;
    layer.width = kWidth;
    layer.height = kHeight;
    layer.depth = depth;
    renderCase(state, layer, *host);
}

// The pixel pass of one thread: one band over the whole frame through SimpleFilter::renderBand.
template <class Pixel> void passCaseRun(benchmark::State& state, int depth, int shape, int repeat, int variant) {
    auto host = appliedHost();
    Orvane::RampRenderParams record{};
    record.shape = shape;
    record.repeat = repeat;
    record.point1[0] = kP1x, record.point1[1] = kP1y, record.point2[0] = kP2x, record.point2[1] = kP2y;
    const Orvane::RampGeometry geometry = Orvane::deriveGeometry(record, nullptr);
    const A_long samples = std::max<A_long>(2, A_long(std::ceil(geometry.rampLength)));
    const A_long entries = repeat == 2 ? samples + 1 : samples;
    Orvane::ColorTable colors;
    Orvane::OpacityTable opacities;
    for (A_long i = 0; i < entries && variant >= 1; ++i) {
        const float u = float(i) / float(entries - 1);
        colors.push_back(PF_PixelFloat{1.0f, u, 1.0f - u, u * u});
    }
    for (A_long i = 0; i < entries && variant >= 2; ++i) opacities.push_back(1.0f - 0.8f * float(i) / float(entries));
    const PF_PixelFloat color{1.0f, 0.8f, 0.4f, 0.2f};
    const Orvane::Filter::PixelFunction pixel = Orvane::makePixelFunction(
        Orvane::makePositionFunction(shape, repeat, geometry),
        Orvane::RampInputs{colors, opacities, color, 0.75f, geometry.rampLength, entries});

    std::vector<Pixel> in(std::size_t(kWidth) * kHeight), out(in.size());
    PF_EffectWorld source{}, destination{};
    source.data = reinterpret_cast<PF_PixelPtr>(in.data());
    destination.data = reinterpret_cast<PF_PixelPtr>(out.data());
    source.width = destination.width = kWidth;
    source.height = destination.height = kHeight;
    source.rowbytes = destination.rowbytes = A_long(kWidth * sizeof(Pixel));

    Orvane::Filter::SimpleFilter filter(&host->inData(), depth == 8 ? 0 : (depth == 16 ? 1 : 2));
    filter.setWorlds(&source, &destination);
    filter.setFunction(&pixel);
    for (auto _ : state) {
        if (filter.renderBand(0, 1) != PF_Err_NONE) state.SkipWithError("the pass was stopped");
        benchmark::DoNotOptimize(out.data());
    }
}

// 8,000 value requests: a 4000-pixel ramp with "Color" and "Opacity" keyframed, on a frame so small that
// the pixel pass is nothing; and the full frame with the same ramp, for the share sampling takes.
void samplingRun(benchmark::State& state, int size) {
    auto host = appliedHost();
    setHostThreads(*host, allThreads());
    setRamp(*host, 1, 1, 2, 0, 100, 4000, 100);
    LayerSetup layer;
    layer.width = size == 0 ? 16 : kWidth;
    layer.height = size == 0 ? 16 : kHeight;
    layer.depth = 8;
    renderCase(state, layer, *host);
}

constexpr int kRepetitions = 3;

void finish(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
}

} // namespace

void registerEffectCases() {
    for (int depth : {8, 16, 32})
        for (int shape : {1, 2})
            for (int repeat : {1, 2, 3})
                for (int variant : {0, 1, 2})
                    for (bool all : {false, true}) {
                        const std::string name = frameCase(depth, shape, repeat, variant, all);
                        registerPixels(name, kPixels);
                        finish(benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                            frameCaseRun(s, depth, shape, repeat, variant, all);
                        }));
                    }
    for (int depth : {8, 16, 32})
        for (int shape : {1, 2})
            for (int repeat : {1, 2, 3}) {
                const int variant = 1;
                const std::string name = passCase(depth, shape, repeat, variant);
                registerPixels(name, kPixels);
                auto* b = benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                    if (depth == 8) passCaseRun<PF_Pixel8>(s, depth, shape, repeat, variant);
                    else if (depth == 16) passCaseRun<PF_Pixel16>(s, depth, shape, repeat, variant);
                    else passCaseRun<PF_PixelFloat>(s, depth, shape, repeat, variant);
                });
                b->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
            }
    registerPixels(kSamplingCase, 16 * 16);
    auto* sampling = benchmark::RegisterBenchmark(kSamplingCase, [](benchmark::State& s) { samplingRun(s, 0); });
    sampling->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
    registerPixels(kSamplingFrameCase, kPixels);
    finish(benchmark::RegisterBenchmark(kSamplingFrameCase, [](benchmark::State& s) { samplingRun(s, 1); }));
}

} // namespace OrvaneBench
