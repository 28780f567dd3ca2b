// What a user sees of the effect in the host's panel, before and after a press of "Refresh".
#include "support/AppliedEffect.h"

#include "host/Scene.h"

#include <sstream>

using namespace Orvane;
using namespace OrvaneHost;

namespace {

using ControlList = OrvaneTest::AppliedEffect;

const std::string kVisibleControls =
    "1 \"Shape\": popup, default 1 \"Linear\", choices \"Linear|Radial\" (2), value 1 \"Linear\"\n"
    "2 \"Point 1\": point, default (0 %, 50 %), may leave the layer, value (0, 540) px\n"
    "3 \"Point 2\": point, default (100 %, 50 %), may leave the layer, value (1920, 540) px\n"
    "4 \"Repeat\": popup, default 1 \"None\", choices \"None|Loop|Pingpong\" (3), value 1 \"None\"\n"
    "5 \"Color\": color, default ARGB 255 255 255 255, value ARGB 255 255 255 255\n"
    "6 \"Opacity\": float slider, default 100.0 %, valid -100.0 to 200.0, slider 0.0 to 100.0, value 100.0 %\n"
    "7 \"\": button \"Refresh\"\n";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST_F(ControlList, AnAppliedEffectShowsItsSevenVisibleControlsWithTheCounterHidden) {
    EXPECT_EQ(controlList(*host), kVisibleControls);
    EXPECT_EQ(lines(controlList(*host)).size(), 7u);
    EXPECT_EQ(controlList(*host, true),
              kVisibleControls + "8 \"\": slider, default 0, valid 0 to 10000000, slider 0 to 10000000, value 0, "
                                 "hidden\n");
}

TEST_F(ControlList, BeforeTheFirstUiUpdateTheCounterIsStillListed) {
    host.reset(); // one host at a time: this one is not applied yet
    host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(host->globalSetup(), PF_Err_NONE);
    host->outData().out_flags = 0; // as if the effect had not asked for UI updates
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    EXPECT_EQ(parameterControls(*host).uiUpdates, 0u);
    EXPECT_EQ(lines(controlList(*host)).size(), 8u);
    EXPECT_EQ(lines(controlList(*host)).back(),
              "8 \"\": slider, default 0, valid 0 to 10000000, slider 0 to 10000000, value 0");
}

TEST_F(ControlList, APressOfRefreshBumpsTheHiddenCounterAndRendersExactlyOnce) {
    ASSERT_EQ(pressButton(*host, kParamRefreshButton), PF_Err_NONE);
    EXPECT_EQ(OrvaneTest::counterValue(*host), 1);
    EXPECT_EQ(parameterControls(*host).rerenders, 1u);
    EXPECT_EQ(controlList(*host), kVisibleControls) << "nothing the user sees has changed";
    EXPECT_NE(controlList(*host, true).find("value 1, hidden"), std::string::npos);
}

TEST_F(ControlList, ShowsCurrentValuesAndChoiceNames) {
    applyScene(*host, Scene()
                          .set(kParamShape, popupValue(kShapeRadial))
                          .set(kParamRepeat, popupValue(kRepeatPingpong))
                          .set(kParamOpacity, sliderValue(-50.0)));
    const auto shown = lines(controlList(*host));
    EXPECT_EQ(shown[0], "1 \"Shape\": popup, default 1 \"Linear\", choices \"Linear|Radial\" (2), value 2 \"Radial\"");
    EXPECT_EQ(shown[3],
              "4 \"Repeat\": popup, default 1 \"None\", choices \"None|Loop|Pingpong\" (3), value 3 \"Pingpong\"");
    EXPECT_EQ(shown[5], "6 \"Opacity\": float slider, default 100.0 %, valid -100.0 to 200.0, slider 0.0 to 100.0, "
                        "value -50.0 %");
}

// An animated control shows its keyframes, not the value it has without them.
TEST_F(ControlList, ShowsAnimatedControlsByTheirKeyframes) {
    applyScene(*host, Scene()
                          .key(kParamPoint1, timeAt(0), pointValue(1, 2))
                          .key(kParamPoint1, timeAt(1), pointValue(3, 4))
                          .key(kParamShape, timeAt(2), popupValue(kShapeRadial)));
    const auto shown = lines(controlList(*host));
    EXPECT_EQ(shown[0], "1 \"Shape\": popup, default 1 \"Linear\", choices \"Linear|Radial\" (2), animated: 1 keyframe");
    EXPECT_EQ(shown[1], "2 \"Point 1\": point, default (0 %, 50 %), may leave the layer, animated: 2 keyframes");
}

} // namespace
