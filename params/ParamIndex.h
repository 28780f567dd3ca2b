// The effect's contract with its host and with everything that drives it: where each parameter sits in the
// host's parameter array, and what its popup values mean and are called. The host stores these indices
// (which are also the parameter ids) in saved projects, so they never change. Every other folder reads them here.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane {

enum ParamIndex : PF_ParamIndex {
    kParamInputLayer = 0, // supplied by the host
    kParamShape = 1,
    kParamPoint1 = 2,
    kParamPoint2 = 3,
    kParamRepeat = 4,
    kParamColor = 5,
    kParamOpacity = 6,
    kParamRefreshButton = 7,
    kParamRefreshCounter = 8,
    kParamCount = 9 // the input layer and the eight parameters
};

// The kind of control at each index, in index order: what anything that drives the effect can check a
// module's registration against.
constexpr PF_ParamType kParamTypes[kParamCount] = {
    PF_Param_LAYER, PF_Param_POPUP,        PF_Param_POINT,  PF_Param_POINT, PF_Param_POPUP,
    PF_Param_COLOR, PF_Param_FLOAT_SLIDER, PF_Param_BUTTON, PF_Param_SLIDER,
};

// Popup values are 1-based; the choices as the controls show them are in value order, split at '|'.
enum ShapeChoice : A_long { kShapeLinear = 1, kShapeRadial = 2 };
enum RepeatChoice : A_long { kRepeatNone = 1, kRepeatLoop = 2, kRepeatPingpong = 3 };
constexpr const char* kShapeChoices = "Linear|Radial";
constexpr const char* kRepeatChoices = "None|Loop|Pingpong";

// The choices of the popup at `index`; nullptr where the index holds no popup.
constexpr const char* popupChoicesAt(PF_ParamIndex index) {
    return index == kParamShape ? kShapeChoices : index == kParamRepeat ? kRepeatChoices : nullptr;
}

// The refresh counter cycles through 0 .. kRefreshCounterModulus - 1.
constexpr A_long kRefreshCounterModulus = 10000000;

} // namespace Orvane
