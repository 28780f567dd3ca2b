// Who the effect is: the values the host reads from the registration resource, those global setup reports
// at run time, and those Windows shows in the module file's properties. All come from here, so they cannot
// drift apart.
#pragma once

#include "../sdk/host_sdk.h"

#include <cstdint>

namespace Orvane {

struct PluginVersion {
    A_long major;
    A_long minor;
    A_long bugfix;
    A_long stage;
    A_long build;
};

constexpr PluginVersion kPluginVersion{1, 0, 0, PF_Stage_RELEASE, 1};

// The host's packed version word: 3 bits major, 4 minor, 4 bugfix, 2 stage, 9 build.
constexpr A_u_long packVersion(const PluginVersion& v) {
    return (static_cast<A_u_long>(v.major & 0x7) << 19) | (static_cast<A_u_long>(v.minor & 0xF) << 15) |
           (static_cast<A_u_long>(v.bugfix & 0xF) << 11) | (static_cast<A_u_long>(v.stage & 0x3) << 9) |
           static_cast<A_u_long>(v.build & 0x1FF);
}
static_assert(packVersion(kPluginVersion) == 0x00080601, "version word as registered");

constexpr const char* kEffectName = "OrvaneVelmorathquist";
constexpr const char* kEffectMatchName = "OrvaneVelmorathquist";
constexpr const char* kEffectCategory = "Orvane";
constexpr const char* kEntryPointName = "EntryPointFunc";
constexpr const char* kRightsLine = "Copyright 2026 Orvane. All rights reserved.";

// The module file as Windows lists it (its version resource) and as the package ships it.
constexpr const char* kCompanyName = "Orvane";
constexpr const char* kProductName = kEffectName;
constexpr const char* kFileDescription = "OrvaneVelmorathquist colour ramp effect";
constexpr const char* kModuleFileName = "OrvaneVelmorathquist.aex";

constexpr PF_OutFlags kGlobalOutFlags = PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI;
constexpr PF_OutFlags2 kGlobalOutFlags2 = PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE;
static_assert(kGlobalOutFlags == 0x06000000 && kGlobalOutFlags2 == 0x00001400, "flags as registered");

} // namespace Orvane
