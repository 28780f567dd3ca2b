// What a user could pick instead, and what no pass can beat: cairo (pixman underneath) filling an ARGB32
// surface with the same gradients, and memset / memcpy of a frame at 4, 8 and 16 bytes per pixel.
#include "Cases.h"

#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace OrvaneBench {

namespace {

constexpr double kP1x = 200, kP1y = 300, kP2x = 3500, kP2y = 1900;
constexpr int kStops = 256; // the nearest to a sampled colour table

cairo_extend_t extendOf(int repeat) {
    return repeat == Orvane::kRepeatLoop ? CAIRO_EXTEND_REPEAT
                                         : (repeat == Orvane::kRepeatPingpong ? CAIRO_EXTEND_REFLECT : CAIRO_EXTEND_PAD);
}

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct CairoGradient {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* pattern = nullptr;
    ~CairoGradient() {
        cairo_pattern_destroy(pattern);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

} // namespace

Case cairoCase(int shape, int repeat) {
    const std::string name = std::string("cairo/") + shapeName(shape) + "/" + repeatName(repeat) + "/stops:256";
    return Case{name, pixelsOf(Size::Uhd), [=] {
                    auto g = std::make_shared<CairoGradient>();
                    const double length = std::hypot(kP2x - kP1x, kP2y - kP1y);
                    g->pattern = shape == Orvane::kShapeRadial ? cairo_pattern_create_radial(kP1x, kP1y, 0, kP1x, kP1y, length)
                                            : cairo_pattern_create_linear(kP1x, kP1y, kP2x, kP2y);
                    for (int i = 0; i < kStops; ++i) {
                        const double u = double(i) / (kStops - 1);
                        cairo_pattern_add_color_stop_rgba(g->pattern, u, u, 1 - u, u * u, 1 - 0.8 * u);
                    }
                    cairo_pattern_set_extend(g->pattern, extendOf(repeat));
                    cairo_set_operator(g->cr, CAIRO_OPERATOR_SOURCE);
                    cairo_set_source(g->cr, g->pattern);
                    return Measure([g] {
                        return secondsOf([&] {
                            cairo_paint(g->cr);
                            cairo_surface_flush(g->surface);
                        });
                    });
                }};
}

Case floorCase(const std::string& what, int bytes, Size frame) {
    const std::string name = what + "/" + (frame == Size::Uhd8k ? "8k/" : "") + std::to_string(bytes) + "B";
    return Case{name, pixelsOf(frame), [=] {
                    const std::size_t size = std::size_t(pixelsOf(frame)) * std::size_t(bytes);
                    auto from = std::make_shared<std::vector<unsigned char>>(size, 1);
                    auto to = std::make_shared<std::vector<unsigned char>>(size, 2);
                    auto value = std::make_shared<int>(0);
                    if (what == "memset")
                        return Measure([to, value] {
                            return secondsOf([&] { std::memset(to->data(), ++*value & 0xff, to->size()); });
                        });
                    return Measure(
                        [from, to] { return secondsOf([&] { std::memcpy(to->data(), from->data(), from->size()); }); });
                }};
}

} // namespace OrvaneBench
