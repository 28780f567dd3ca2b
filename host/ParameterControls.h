// Driving an effect instance's parameters as a host does: applying the effect (global setup, the input layer,
// parameter setup, then the UI update the effect asked for), pressing a button, and showing the controls the
// way the host's effect panel lists them. The counters a test or the renderer reads live in the host's
// extension state (ParameterControlsState).
#pragma once

#include "Host.h"

#include <functional>
#include <string>
#include <vector>

namespace OrvaneHost {

struct ParameterControlsState {
    PF_OutFlags globalOutFlags = 0;  // what the effect asked for at global setup
    bool globalOutFlagsKnown = false;
    std::size_t uiUpdates = 0;       // PF_Cmd_UPDATE_PARAMS_UI sent
    std::size_t redraws = 0;         // the controls redrawn on PF_OutFlag_REFRESH_UI
    std::size_t rerenders = 0;       // renders forced by PF_OutFlag_FORCE_RERENDER
    std::function<void(Host&)> rerenderHook; // called on every forced re-render, when set
};

ParameterControlsState& parameterControls(Host& host);

// The parameter array a command receives: params[i] holds stream i's value at the host's current time, with
// uu.change_flags cleared so that the effect's changes can be told apart. Owns what it points to.
class ParamArray {
public:
    explicit ParamArray(Host& host);
    ParamArray(const ParamArray&) = delete;
    ParamArray& operator=(const ParamArray&) = delete;

    PF_ParamDef** data() { return pointers.data(); }
    PF_ParamDef& operator[](std::size_t index) { return defs[index]; }
    std::size_t size() const { return defs.size(); }

private:
    std::vector<PF_ParamDef> defs;
    std::vector<PF_ParamDef*> pointers;
};

// Applies the effect to the host's layer: global setup (unless the host already holds global data), stream 0
// for the input layer, PF_Cmd_PARAMS_SETUP, and PF_Cmd_UPDATE_PARAMS_UI when the effect's global out flags
// carry PF_OutFlag_SEND_UPDATE_PARAMS_UI. Returns the first command's error. When global setup was run by the
// caller, call this right after it: the global out flags are read from the out data it left.
PF_Err applyEffect(Host& host);

// Sends PF_Cmd_UPDATE_PARAMS_UI with the current values; redraws (counts) on PF_OutFlag_REFRESH_UI.
PF_Err updateParamsUi(Host& host);

// The user presses the button at `index` (or changes that parameter): sends PF_Cmd_USER_CHANGED_PARAM, takes
// over every value whose uu.change_flags carry PF_ChangeFlag_CHANGED_VALUE, and re-renders (counts, and calls
// the hook) on PF_OutFlag_FORCE_RERENDER. The out data is honoured whatever the command returned, as the
// effect sets its flags on its failure paths too.
PF_Err pressButton(Host& host, PF_ParamIndex index);

// The effect panel: one line per parameter after the input layer, with its name, type, default, range,
// choices and current value. Hidden controls are left out, as the user does not see them, unless
// `showHidden` is set, in which case they are listed and marked "hidden".
std::string controlList(const Host& host, bool showHidden = false);

// What kind of control a parameter type is, as the effect panel names it: "popup", "point", "color", "float
// slider", "slider", "button", "layer", or "type N".
std::string controlKind(PF_ParamType type);

// The name of the parameter at `index` as its control shows it, quoted: "\"Color\"".
std::string controlName(const Host& host, PF_ParamIndex index);
// A value of the parameter at `index` as its control shows it, after the control's name: "\"Shape\" 2
// \"Radial\"", "\"Point 1\" (300, 230) px", "\"Opacity\" 100.0 %".
std::string controlValue(const Host& host, PF_ParamIndex index, const PF_ParamDef& value);

} // namespace OrvaneHost
