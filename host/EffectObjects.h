// The AEGP side of an applied effect: its effect references, its layer and composition, the streams of its
// parameters (values, keyframes, dynamic flags) and the stream values handed out. Every effect reference,
// stream and stream value is booked ("effect ref", "stream", "stream value") from the call that makes it to
// the call that disposes of it; a second disposal, or use of a disposed object, is a host error.
#pragma once

#include "../sdk/host_sdk.h"

namespace OrvaneHost {

class Host;

// Error codes of these services (the host's own choice of values).
constexpr A_Err kNotLive = 0x2170;          // an object that is not live, or not this host's
constexpr A_Err kUnknownPlugin = 0x2171;    // a plug-in id the host never registered
constexpr A_Err kNoSuchParam = 0x2172;      // a parameter index the effect does not have
constexpr A_Err kNoSuchKeyframe = 0x2173;   // a keyframe index out of range
constexpr A_Err kNoValue = 0x2174;          // a stream that carries no value (the layer, a button)
constexpr A_Err kMissingArgument = 0x2175;  // a null pointer where the host writes or reads

// Serves "AEGP PF Interface Suite" 1, "AEGP Layer Suite" 13, "AEGP Effect Suite" 2 and 3, "AEGP Stream
// Suite" 9, "AEGP Dynamic Stream Suite" 5 and "AEGP Keyframe Suite" 4.
void installEffectObjects(Host& host);

} // namespace OrvaneHost
