// The effect module applied on a host, parameters set as a user sets them, frames rendered through the
// smart-render protocol, and pixels read back.
#pragma once

#include "support/ModuleHost.h"

#include "host/FrameRender.h"
#include "host/FrameSession.h"
#include "host/ParameterControls.h"
#include "host/Scene.h"
#include "host/Worlds.h"
#include "params/ParamIndex.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace OrvaneTest {

using namespace Orvane; // the effect's parameter indices and popup values

// Colour keyframes: alpha, red, green, blue.
inline constexpr OrvaneHost::StreamValue kRed{1, 1, 0, 0}, kGreen{1, 0, 1, 0}, kBlue{1, 0, 0, 1}, kWhite{1, 1, 1, 1};

struct RenderFixture : ::testing::Test {
    std::unique_ptr<OrvaneHost::Host> host = loadModuleHost();

    void SetUp() override { ASSERT_EQ(OrvaneHost::applyEffect(*host), PF_Err_NONE); }

    // The controls as a user sets them, each change put into the host at once.
    void apply(const OrvaneHost::Scene& scene) { OrvaneHost::applyScene(*host, scene); }
    void setPopup(PF_ParamIndex index, A_long value) { apply(OrvaneHost::Scene().set(index, OrvaneHost::popupValue(value))); }
    void setPoint(PF_ParamIndex index, double x, double y) {
        apply(OrvaneHost::Scene().set(index, OrvaneHost::pointValue(x, y)));
    }
    void setColor(A_u_char alpha, A_u_char red, A_u_char green, A_u_char blue) {
        apply(OrvaneHost::Scene().set(kParamColor, OrvaneHost::colorValue(PF_Pixel8{alpha, red, green, blue})));
    }
    void setOpacity(double percent) { apply(OrvaneHost::Scene().set(kParamOpacity, OrvaneHost::sliderValue(percent))); }
    // A keyframe at `seconds`: a colour as alpha, red, green, blue in 0..1, an opacity in percent.
    void key(PF_ParamIndex index, double seconds, const OrvaneHost::StreamValue& value) {
        apply(OrvaneHost::Scene().key(index, OrvaneHost::timeAt(seconds), value));
    }
    // Two keyframes: `first` at 0 s and `last` at `seconds`.
    void animate(PF_ParamIndex index, const OrvaneHost::StreamValue& first, const OrvaneHost::StreamValue& last,
                 double seconds = 1) {
        key(index, 0, first);
        key(index, seconds, last);
    }
    void animateOpacity(double firstPercent, double lastPercent, double seconds = 1) {
        animate(kParamOpacity, OrvaneHost::sliderValue(firstPercent), OrvaneHost::sliderValue(lastPercent), seconds);
    }

    OrvaneHost::Frame render(const OrvaneHost::LayerSetup& setup, A_long time = 0,
                             OrvaneHost::FrameReport* report = nullptr) {
        OrvaneHost::Frame frame;
        const PF_Err err = OrvaneHost::renderFrame(*host, setup, time, frame, report);
        EXPECT_EQ(err, PF_Err_NONE);
        return frame;
    }
    OrvaneHost::Frame renderAt(int depth, OrvaneHost::FrameReport* report = nullptr) {
        OrvaneHost::LayerSetup setup;
        setup.depth = depth;
        return render(setup, 0, report);
    }
};

template <class Pixel> Pixel pixelOf(const OrvaneHost::Frame& frame, int x, int y) {
    Pixel p;
    std::memcpy(&p, frame.bytes.data() + std::size_t(y) * std::size_t(frame.rowbytes) + std::size_t(x) * sizeof(Pixel),
                sizeof p);
    return p;
}

inline ::testing::AssertionResult is8(const OrvaneHost::Frame& f, int x, int y, int a, int r, int g, int b) {
    const auto p = pixelOf<PF_Pixel8>(f, x, y);
    if (p.alpha == a && p.red == r && p.green == g && p.blue == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << "," << y << ") is " << int(p.alpha) << " " << int(p.red)
                                         << " " << int(p.green) << " " << int(p.blue);
}

inline ::testing::AssertionResult is16(const OrvaneHost::Frame& f, int x, int y, int a, int r, int g, int b) {
    const auto p = pixelOf<PF_Pixel16>(f, x, y);
    if (p.alpha == a && p.red == r && p.green == g && p.blue == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << "," << y << ") is " << p.alpha << " " << p.red << " "
                                         << p.green << " " << p.blue;
}

inline float floatFromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

inline ::testing::AssertionResult isFloat(const OrvaneHost::Frame& f, int x, int y, float a, float r, float g,
                                          float b) {
    const auto p = pixelOf<PF_PixelFloat>(f, x, y);
    if (p.alpha == a && p.red == r && p.green == g && p.blue == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << "," << y << ") is " << p.alpha << " " << p.red << " "
                                         << p.green << " " << p.blue;
}

// Every pixel of the frame is the same.
template <class Pixel> bool uniform(const OrvaneHost::Frame& frame) {
    const Pixel first = pixelOf<Pixel>(frame, 0, 0);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const Pixel p = pixelOf<Pixel>(frame, x, y);
            if (std::memcmp(&p, &first, sizeof p) != 0) return false;
        }
    return true;
}

} // namespace OrvaneTest
