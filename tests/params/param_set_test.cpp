// The parameter list the effect registers at PF_Cmd_PARAMS_SETUP, driven through the loaded module.
#include "support/AppliedEffect.h"

#include "host/ParamRegistry.h"

#include <cstring>
#include <vector>

using namespace Orvane;
using namespace OrvaneHost;

namespace {

// Every definition exactly as the effect handed it to add_param, byte for byte (padding included).
std::vector<PF_ParamDef> captured;
PF_Err (*hostAddParam)(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) = nullptr;
std::vector<PF_ParamIndex> capturedIndices;

PF_Err capturingAddParam(PF_ProgPtr ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    PF_ParamDef raw;
    std::memcpy(&raw, def, sizeof raw);
    captured.push_back(raw);
    capturedIndices.push_back(index);
    return hostAddParam(ref, index, def);
}

class ParamSet : public ::testing::Test {
protected:
    void SetUp() override {
        captured.clear();
        capturedIndices.clear();
        hostAddParam = host->interactCallbacks().add_param;
        host->interactCallbacks().add_param = capturingAddParam;
        ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
        ASSERT_EQ(captured.size(), 8u);
    }

    // True when every byte of `def` is zero once the fields the table lists are cleared by `clearListed`.
    template <class Clear> static bool restIsZero(PF_ParamDef def, Clear clearListed) {
        clearListed(def);
        std::memset(def.name, 0, sizeof def.name);
        def.param_type = 0;
        def.flags = 0;
        def.uu.id = 0;
        PF_ParamDef zero;
        std::memset(&zero, 0, sizeof zero);
        return std::memcmp(&def, &zero, sizeof def) == 0;
    }

    // The definition the effect added for the parameter at `index` (the input layer is the host's own).
    static const PF_ParamDef& added(PF_ParamIndex index) { return captured.at(std::size_t(index) - 1); }

    std::unique_ptr<Host> host = OrvaneTest::loadModuleHost();
};

TEST_F(ParamSet, AppendsEightParametersAfterTheInputLayer) {
    EXPECT_EQ(host->inData().num_params, 9) << "the count the effect reported at setup";
    ASSERT_EQ(host->streams().size(), 9u);
    EXPECT_EQ(host->streams()[kParamInputLayer].def.param_type, PF_Param_LAYER);
    for (PF_ParamIndex index : capturedIndices) EXPECT_EQ(index, -1);
    const std::vector<std::string> names = {"Shape", "Point 1", "Point 2", "Repeat", "Color", "Opacity", "", ""};
    const std::vector<PF_ParamType> types = {PF_Param_POPUP, PF_Param_POINT,  PF_Param_POINT,        PF_Param_POPUP,
                                             PF_Param_COLOR, PF_Param_FLOAT_SLIDER, PF_Param_BUTTON, PF_Param_SLIDER};
    const std::vector<PF_ParamFlags> flags = {0, 0x20, 0x20, 0x20, 0x20, 0x20, 0x40, 0x20};
    for (std::size_t i = 0; i < captured.size(); ++i) {
        SCOPED_TRACE("parameter " + std::to_string(i + 1));
        EXPECT_EQ(captured[i].uu.id, static_cast<A_long>(i + 1)) << "the id equals the index";
        EXPECT_STREQ(captured[i].name, names[i].c_str());
        EXPECT_EQ(captured[i].param_type, types[i]);
        EXPECT_EQ(kParamTypes[i + 1], types[i]) << "the contract states the kind registered";
        EXPECT_EQ(captured[i].flags, flags[i]);
        EXPECT_EQ(captured[i].ui_flags, 0);
        EXPECT_EQ(captured[i].ui_width, 0);
        EXPECT_EQ(captured[i].ui_height, 0);
    }
}

TEST_F(ParamSet, NamesAreCopiedWithTheHostsStrcpyBeforeEachAddition) {
    std::vector<std::string> expected;
    for (int i = 0; i < 8; ++i) {
        expected.push_back("ansi.strcpy");
        expected.push_back("add_param");
    }
    std::vector<std::string> names;
    for (const auto& record : host->calls().records()) {
        if (record.name == "ansi.strcpy" || record.name == "add_param") names.push_back(record.name);
    }
    // The UI update that follows makes AEGP calls only, so the two lists are the setup's.
    EXPECT_EQ(names, expected);
}

TEST_F(ParamSet, ShapeAndRepeatArePopupsStartingAtTheirFirstChoice) {
    struct Popup {
        PF_ParamIndex index;
        A_long choices;
        const char* names;
        A_long first;
    };
    for (const Popup& expected : {Popup{kParamShape, 2, "Linear|Radial", kShapeLinear},
                                  Popup{kParamRepeat, 3, "None|Loop|Pingpong", kRepeatNone}}) {
        SCOPED_TRACE(expected.names);
        const PF_ParamDef& popup = added(expected.index);
        EXPECT_EQ(popup.u.pd.value, expected.first);
        EXPECT_EQ(popup.u.pd.dephault, expected.first);
        EXPECT_EQ(popup.u.pd.num_choices, expected.choices);
        EXPECT_STREQ(popup.u.pd.u.namesptr, expected.names);
        EXPECT_TRUE(restIsZero(popup, [](PF_ParamDef& d) { d.u.pd = PF_PopupDef{}; }));
    }
}

TEST_F(ParamSet, PointDefaultsArePercentagesInSixteenDotSixteen) {
    for (PF_ParamIndex index : {kParamPoint1, kParamPoint2}) {
        SCOPED_TRACE(added(index).name);
        const PF_PointDef& point = added(index).u.td;
        const PF_Fixed x = index == kParamPoint1 ? 0 : 6553600; // 0 and 100 x 65536
        EXPECT_EQ(point.x_dephault, x);
        EXPECT_EQ(point.x_value, x);
        EXPECT_EQ(point.y_dephault, 3276800); // 50 x 65536
        EXPECT_EQ(point.y_value, 3276800);
        EXPECT_EQ(point.restrict_bounds, FALSE);
        EXPECT_TRUE(restIsZero(added(index), [](PF_ParamDef& d) { d.u.td = PF_PointDef{}; }));
    }
}

TEST_F(ParamSet, TheHostPlacesThePointsAtTheMiddlesOfTheLayersSideEdges) {
    // 1920 x 1080: (0, 540) and (1920, 540) layer pixels, in 16.16.
    EXPECT_EQ(host->streams()[kParamPoint1].current.u.td.x_value, 0);
    EXPECT_EQ(host->streams()[kParamPoint1].current.u.td.y_value, 540 * 65536);
    EXPECT_EQ(host->streams()[kParamPoint2].current.u.td.x_value, 1920 * 65536);
    EXPECT_EQ(host->streams()[kParamPoint2].current.u.td.y_value, 540 * 65536);
}

TEST_F(ParamSet, ColorStartsOpaqueWhite) {
    const PF_ColorDef& color = added(kParamColor).u.cd;
    for (const PF_Pixel8& p : {color.value, color.dephault}) {
        EXPECT_EQ(p.alpha, 255);
        EXPECT_EQ(p.red, 255);
        EXPECT_EQ(p.green, 255);
        EXPECT_EQ(p.blue, 255);
    }
    EXPECT_TRUE(restIsZero(added(kParamColor), [](PF_ParamDef& d) { d.u.cd = PF_ColorDef{}; }));
}

TEST_F(ParamSet, OpacityAcceptsMinusHundredToTwoHundredWithASliderOfZeroToHundred) {
    const PF_FloatSliderDef& opacity = added(kParamOpacity).u.fs_d;
    EXPECT_EQ(opacity.value, 100.0);
    EXPECT_EQ(opacity.dephault, 100.0f);
    EXPECT_EQ(opacity.valid_min, -100.0f);
    EXPECT_EQ(opacity.valid_max, 200.0f);
    EXPECT_EQ(opacity.slider_min, 0.0f);
    EXPECT_EQ(opacity.slider_max, 100.0f);
    EXPECT_EQ(opacity.precision, 1);
    EXPECT_EQ(opacity.display_flags, PF_ValueDisplayFlag_PERCENT);
    EXPECT_EQ(opacity.fs_flags, 0u);
    EXPECT_EQ(opacity.curve_tolerance, 0.05f);
    EXPECT_EQ(opacity.phase, 0.0);
    EXPECT_EQ(opacity.useExponent, 0);
    EXPECT_TRUE(restIsZero(added(kParamOpacity), [](PF_ParamDef& d) {
        PF_FloatSliderDef& f = d.u.fs_d;
        f.value = 0;
        f.valid_min = f.valid_max = f.slider_min = f.slider_max = f.dephault = f.curve_tolerance = 0;
        f.precision = 0;
        f.display_flags = 0;
    }));
}

TEST_F(ParamSet, TheButtonIsLabelledRefreshAndSupervisedOnly) {
    const PF_ParamDef& button = added(kParamRefreshButton);
    EXPECT_STREQ(button.u.button_d.u.namesptr, "Refresh");
    EXPECT_EQ(button.flags, PF_ParamFlag_SUPERVISE);
    EXPECT_EQ(button.u.button_d.value, 0);
    EXPECT_TRUE(restIsZero(button, [](PF_ParamDef& d) { d.u.button_d = PF_ButtonDef{}; }));
}

TEST_F(ParamSet, TheRefreshCounterIsANamelessSliderFromZeroToTenMillion) {
    const PF_SliderDef& counter = added(kParamRefreshCounter).u.sd;
    EXPECT_EQ(counter.value, 0);
    EXPECT_EQ(counter.dephault, 0);
    EXPECT_EQ(counter.valid_min, 0);
    EXPECT_EQ(counter.valid_max, 10000000);
    EXPECT_EQ(counter.slider_min, 0);
    EXPECT_EQ(counter.slider_max, 10000000);
    EXPECT_EQ(counter.value_str[0], '\0');
    EXPECT_EQ(counter.value_desc[0], '\0');
    EXPECT_TRUE(restIsZero(added(kParamRefreshCounter), [](PF_ParamDef& d) {
        d.u.sd.valid_max = 0;
        d.u.sd.slider_max = 0;
    }));
}

TEST_F(ParamSet, TheHostKeepsItsOwnCopiesOfTheChoiceAndLabelStrings) {
    const ParamStream& shape = host->streams()[kParamShape];
    const ParamStream& button = host->streams()[kParamRefreshButton];
    EXPECT_EQ(shape.choices, "Linear|Radial");
    EXPECT_EQ(shape.def.u.pd.u.namesptr, shape.choices.c_str());
    EXPECT_EQ(button.label, "Refresh");
    EXPECT_EQ(button.def.u.button_d.u.namesptr, button.label.c_str());
    EXPECT_EQ(host->streams()[kParamRepeat].choices, "None|Loop|Pingpong");
}

TEST(ParamSetFaults, AFailingAdditionEndsTheListThereAndReturnsItsCode) {
    for (std::uint64_t k = 1; k <= 8; ++k) {
        SCOPED_TRACE("add_param " + std::to_string(k) + " fails");
        auto host = OrvaneTest::loadModuleHost();
        ASSERT_EQ(host->globalSetup(), PF_Err_NONE);
        host->calls().addRule({"add_param", "", k, false, {FaultMode::Error, 7}});
        EXPECT_EQ(applyEffect(*host), 7);
        EXPECT_EQ(host->streams().size(), k) << "the input layer and the parameters before the failed one";
        EXPECT_EQ(host->calls().countOf("add_param"), k) << "no later parameter is offered";
        EXPECT_EQ(host->outData().num_params, 1) << "num_params stays as the host set it";
        EXPECT_EQ(parameterControls(*host).uiUpdates, 0u);
        EXPECT_TRUE(OrvaneTest::booksAreClean(*host));
    }
}

TEST(ParamSetFaults, SetupNeedsNoSuite) {
    auto host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(host->globalSetup(), PF_Err_NONE);
    host->setBasicSuiteAvailable(false);
    ensureInputLayer(*host);
    host->calls().reset();
    EXPECT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    EXPECT_EQ(host->outData().num_params, 9);
    EXPECT_EQ(host->streams().size(), 9u);
    EXPECT_EQ(host->calls().countOf("AcquireSuite"), 0u);
}

TEST(PointDefaults, ArePercentagesOfTheLayerRoundedToSixteenDotSixteen) {
    EXPECT_EQ(pointDefaultPosition(50 * 65536, 1080), 540 * 65536);
    EXPECT_EQ(pointDefaultPosition(100 * 65536, 1000), 1000 * 65536);
    // 33 % of 1001 px = 330.33 px = 21648506.88 in 16.16, rounded up.
    EXPECT_EQ(pointDefaultPosition(33 * 65536, 1001), 21648507);
    // 12.5 % (819200 in 16.16) of 3 px = 0.375 px = 24576 exactly.
    EXPECT_EQ(pointDefaultPosition(819200, 3), 24576);
    EXPECT_EQ(pointDefaultPosition(-50 * 65536, 100), -50 * 65536);
    // A default far outside the layer saturates instead of overflowing.
    EXPECT_EQ(pointDefaultPosition(30000 * 65536, 8000), 2147483647);
    EXPECT_EQ(pointDefaultPosition(-30000 * 65536, 8000), -2147483647 - 1);
}

TEST(PointDefaults, FollowTheLayerSizeOfTheHost) {
    auto host = OrvaneTest::loadModuleHost();
    host->inData().width = 640;
    host->inData().height = 361;
    ASSERT_EQ(applyEffect(*host), PF_Err_NONE);
    EXPECT_EQ(host->streams()[kParamPoint1].current.u.td.x_value, 0);
    EXPECT_EQ(host->streams()[kParamPoint1].current.u.td.y_value, 11829248); // 180.5 px
    EXPECT_EQ(host->streams()[kParamPoint2].current.u.td.x_value, 640 * 65536);
    EXPECT_EQ(host->streams()[kParamPoint2].current.u.td.y_value, 11829248);
}

} // namespace
