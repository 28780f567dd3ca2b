// Host error codes as the user reads them: "PF_Err_BAD_CALLBACK_PARAM (516)".
#pragma once

#include "sdk/host_sdk.h"

#include <string>

namespace OrvaneTools {

// The host's name for the code followed by its number; a code the host has no name for shows as
// "error N".
std::string describeError(PF_Err err);

} // namespace OrvaneTools
