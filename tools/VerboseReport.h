// What --verbose prints: the effect's registration as global setup reports it, and per frame what the
// effect handed the host between its two render passes.
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

// The 60-byte pre-render record (shape, two points, repeat, colour, opacity) in words; a record of any
// other size is shown as its size.
std::string describePreRenderRecord(const std::vector<unsigned char>& record);

// One rendered frame: its number and time, buffer size and depth, the pre-render record, the sizes of the
// effect's colour and opacity tables, the stream values it asked for, and how long smart render took.
void printFrame(std::ostream& out, long number, const A_Time& time, const OrvaneHost::Frame& frame,
                const OrvaneHost::FrameReport& report);

// What pressing Refresh did: the refresh counter's new value and the renders the effect forced so far.
void printRefreshPress(std::ostream& out, long counter, std::size_t rerenders);

} // namespace OrvaneTools
