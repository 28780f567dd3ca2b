// How the host takes in the parameters an effect registers: each definition is copied into a stream of its
// own (strings included), and the stream's first value is what a freshly applied effect shows.
#pragma once

#include "ParamStreams.h"

#include "../sdk/host_sdk.h"

#include <vector>

namespace OrvaneHost {

class Host;

// Error codes of the parameter services (the host's own choice of values).
constexpr PF_Err kParamIndexOutOfOrder = 0x2160; // add_param at an index other than the next one
constexpr PF_Err kBadParamDefinition = 0x2161;   // add_param without a definition

// Creates stream 0, the layer the effect is applied to, unless it exists.
void ensureInputLayer(Host& host);

// The add_param service: appends a copy of `def` (index -1, or the next index) as a new stream.
PF_Err registerParam(Host& host, PF_ProgPtr effectRef, PF_ParamIndex index, const PF_ParamDef* def);

// A point default is a percentage of the layer size: x_dephault (16.16 percent) becomes
// round(x_dephault / 65536 / 100 x width x 65536) in 16.16 layer pixels, saturated to the 32-bit range.
PF_Fixed pointDefaultPosition(PF_Fixed percentDefault, A_long layerSize);

// Points the stored definitions' string fields at the strings their streams own. Needed whenever the
// streams have moved (the vector grew), since short strings live inside the stream object itself.
void repointStrings(std::vector<ParamStream>& streams);

} // namespace OrvaneHost
