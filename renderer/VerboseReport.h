// What --verbose prints: the effect's registration as global setup reports it, and per frame what the host
// handed the effect and was asked for.
#pragma once

#include "host/FrameRender.h"
#include "sdk/host_sdk.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace OrvaneTools {

// The About text as indented lines (its carriage return shown as a line break) and the packed version
// unpacked, as the host shows them.
void printAboutAndVersion(std::ostream& out, const std::string& aboutText, A_u_long version);

// "registration:", the About text and version, the two out-flag words with the names of their bits, and
// the number of parameters registered.
void printRegistration(std::ostream& out, const std::string& aboutText, A_u_long version, PF_OutFlags outFlags,
                       PF_OutFlags2 outFlags2, std::size_t parameterCount);

// "PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI"; bits without a name as hex.
std::string outFlagNames(PF_OutFlags flags);
std::string outFlag2Names(PF_OutFlags2 flags);

// One rendered frame as the host saw it: its number and time, buffer size and depth, the value each control
// was checked out with, the stream values the effect asked for (by control), and how long smart render took.
void printFrame(std::ostream& out, const OrvaneHost::Host& host, long number, const A_Time& time,
                const OrvaneHost::Frame& frame, const OrvaneHost::FrameReport& report);

// What pressing Refresh did: the refresh counter's new value and the renders the effect forced so far.
void printRefreshPress(std::ostream& out, long counter, std::size_t rerenders);

} // namespace OrvaneTools
