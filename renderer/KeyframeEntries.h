// The entries of an option that sets an effect control (--shape, --point1, --color, ...), on the command line
// and in a scene: a plain value V, or a keyframe T:V at T seconds that may go on with modifiers, each after
// a colon:
//   hold | ease | linear          both sides (ease: bezier with the easy ease, speed 0 and influence 33.333 %)
//   in=I, out=I                   one side: linear, hold or bezier
//   ease_in=S,I, ease_out=S,I     one side bezier with speed S (the control's units per second) and
//                                 influence I (0.1 to 100 % of the segment's duration)
//   tangent_in=DX,DY, tangent_out=DX,DY   a point's path handles, in pixels from the keyframe's point
// A scene may write a keyframe as an object instead (renderer/KeyframeObjects.h), which reads as this text.
#pragma once

#include "host/ParamStreams.h"

#include "sdk/host_sdk.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace OrvaneTools {

// What one entry sets.
struct ControlEntry {
    std::size_t place = 0;         // 1 for the first entry of the option, in the order given
    std::string written;           // the entry as the user wrote it ("1.5:#ff0000:hold"), for messages
    std::string timeText;          // a keyframe's time as given, for messages
    std::optional<double> seconds; // a keyframe's time; none for a plain value
    OrvaneHost::StreamValue value{}; // as the host holds it (host/Scene.h)
    OrvaneHost::KeyframeSide in, out;
    OrvaneHost::Tangent tangentIn, tangentOut;
};

// How the values of one control are written and what its keyframes may carry.
struct ControlForm {
    const char* option;     // the option and scene key: "color"
    PF_ParamIndex index;    // the effect's parameter (params/ParamIndex.h)
    const char* noun;       // in messages: "give one plain colour"
    const char* valueName;  // the value in --help: C in C|T:C
    OrvaneHost::StreamValue (*parse)(const std::string& text, const std::string& what);
    bool popup;             // its keyframes are always held: no ease, no linear side
    bool point;             // its keyframes may carry tangents
};

extern const ControlForm kShapeForm, kRepeatForm, kPoint1Form, kPoint2Form, kColorForm, kOpacityForm;
// All of them, in the order of the effect's parameters.
const std::vector<const ControlForm*>& controlForms();

// Every entry of the option, numbered in the order given. Throws a usage ToolError naming `what`, the
// keyframe (its place and time) and the value refused.
std::vector<ControlEntry> parseControlEntries(const std::vector<std::string>& texts, const std::string& what,
                                              const ControlForm& form);

// How messages name a keyframe: "keyframe 2 at 1.5 s".
std::string keyframeName(std::size_t place, const std::string& timeText);

// The names an interpolation is given by (in=, out=, and a scene's "in" and "out").
std::vector<std::string> interpolationNames();

} // namespace OrvaneTools
