// Inputs the frame fuzzer once stopped on, kept as regression tests. Each ran into undefined behaviour in
// the host; under the sanitizer build any return of it fails the test.
#include "support/ModuleHost.h"

#include "host/FrameRender.h"
#include "host/ParameterControls.h"
#include "host/Scene.h"
#include "params/ParamIndex.h"

#include <limits>

using namespace OrvaneHost;
using namespace OrvaneTest;
using namespace Orvane;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// A NaN colour keyframe value used to reach the conversion to a colour byte.
TEST(FuzzRegressions, ANanColourKeyframeChecksOutAsZeroBytes) {
    auto host = loadModuleHost();
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    applyScene(*host, Scene()
                          .key(kParamColor, timeAt(0), colorValue(kNaN, 1, kNaN, 0.5))
                          .key(kParamColor, timeAt(1), colorValue(kNaN, 1, kNaN, 0.5)));
    const PF_ParamDef def = checkoutAt(host->streams()[kParamColor], timeAt(0.5));
    EXPECT_EQ(def.u.cd.value.alpha, 0);
    EXPECT_EQ(def.u.cd.value.red, 255);
    EXPECT_EQ(def.u.cd.value.green, 0);
    EXPECT_EQ(def.u.cd.value.blue, 128); // floor(0.5 * 255 + 0.5)
}

TEST(FuzzRegressions, ANanPointOrPopupValueChecksOutAsZero) {
    auto host = loadModuleHost();
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    PF_ParamDef point = host->streams()[kParamPoint1].current;
    storeValue(point, StreamValue{kNaN, -kNaN, 0, 0});
    EXPECT_EQ(point.u.td.x_value, 0);
    EXPECT_EQ(point.u.td.y_value, 0);
    PF_ParamDef shape = host->streams()[kParamShape].current;
    storeValue(shape, StreamValue{kNaN, 0, 0, 0});
    EXPECT_EQ(shape.u.pd.value, 0);
}

TEST(FuzzRegressions, AFrameWithNanKeyframesRendersAndGivesEverythingBack) {
    auto host = loadModuleHost();
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    applyScene(*host, Scene()
                          .set(kParamPoint2, pointValue(6, 540))
                          .key(kParamColor, A_Time{-5, kTimeScale}, StreamValue{kNaN, kNaN, kNaN, kNaN})
                          .key(kParamColor, A_Time{7, kTimeScale}, colorValue(1, 0, 1, 0))
                          .key(kParamOpacity, A_Time{0, kTimeScale}, sliderValue(kNaN))
                          .key(kParamOpacity, A_Time{1, kTimeScale}, sliderValue(50)));
    for (int depth : {8, 16, 32}) {
        Frame frame;
        EXPECT_EQ(renderFrame(*host, LayerSetup{9, 4, depth}, 0, frame), PF_Err_NONE) << depth;
        EXPECT_TRUE(booksAreClean(*host));
    }
}

// A layer of no width but some height used to copy its rows through a null data pointer.
TEST(FuzzRegressions, AZeroWidthLayerYieldsAnEmptyFrame) {
    auto host = loadModuleHost();
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    for (int depth : {8, 16, 32}) {
        Frame frame;
        renderFrame(*host, LayerSetup{0, 30, depth}, 0, frame);
        EXPECT_TRUE(frame.bytes.empty());
        EXPECT_EQ(frame.width, 0);
        EXPECT_TRUE(booksAreClean(*host));
    }
}

} // namespace
