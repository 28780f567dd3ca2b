// What a user could pick instead, and what no pass can beat: cairo (pixman underneath) filling an ARGB32
// surface with the same gradients, and memset / memcpy of a frame at 4, 8 and 16 bytes per pixel.
#include "BenchResults.h"
#include "CaseNames.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace OrvaneBench {

namespace {

constexpr double kP1x = 200, kP1y = 300, kP2x = 3500, kP2y = 1900;

cairo_extend_t extendOf(int repeat) {
    return repeat == 2 ? CAIRO_EXTEND_REPEAT : (repeat == 3 ? CAIRO_EXTEND_REFLECT : CAIRO_EXTEND_PAD);
}

void cairoRun(benchmark::State& state, int shape, int repeat, int stops) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    const double length = std::hypot(kP2x - kP1x, kP2y - kP1y);
    cairo_pattern_t* pattern = shape == 2 ? cairo_pattern_create_radial(kP1x, kP1y, 0, kP1x, kP1y, length)
                                          : cairo_pattern_create_linear(kP1x, kP1y, kP2x, kP2y);
    for (int i = 0; i < stops; ++i) {
        const double u = double(i) / (stops - 1);
        cairo_pattern_add_color_stop_rgba(pattern, u, u, 1 - u, u * u, 1 - 0.8 * u);
    }
    cairo_pattern_set_extend(pattern, extendOf(repeat));
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source(cr, pattern);
    for (auto _ : state) {
        cairo_paint(cr);
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    cairo_pattern_destroy(pattern);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void memsetRun(benchmark::State& state, int bytes) {
    std::vector<unsigned char> frame(std::size_t(kWidth) * kHeight * std::size_t(bytes), 1);
    int value = 0;
    for (auto _ : state) {
        std::memset(frame.data(), ++value & 0xff, frame.size());
        benchmark::ClobberMemory();
    }
}

void memcpyRun(benchmark::State& state, int bytes) {
    const std::vector<unsigned char> from(std::size_t(kWidth) * kHeight * std::size_t(bytes), 1);
    std::vector<unsigned char> to(from.size(), 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
}

void finish(benchmark::internal::Benchmark* b) {
    b->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);
}

} // namespace

void registerPeerCases() {
    for (int shape : {1, 2})
        for (int repeat : {1, 2, 3})
            for (int stops : {2, 256}) {
                const std::string name = cairoCase(shape, repeat, stops);
                registerPixels(name, kPixels);
                finish(benchmark::RegisterBenchmark(name.c_str(),
                                                    [=](benchmark::State& s) { cairoRun(s, shape, repeat, stops); }));
            }
    for (int bytes : {4, 8, 16}) {
        registerPixels(floorCase("memset", bytes), kPixels);
        finish(benchmark::RegisterBenchmark(floorCase("memset", bytes).c_str(),
                                            [=](benchmark::State& s) { memsetRun(s, bytes); }));
        registerPixels(floorCase("memcpy", bytes), kPixels);
        finish(benchmark::RegisterBenchmark(floorCase("memcpy", bytes).c_str(),
                                            [=](benchmark::State& s) { memcpyRun(s, bytes); }));
    }
}

} // namespace OrvaneBench
