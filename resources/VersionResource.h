// The module file's Windows version resource, derived from the effect's identity: the numbers and texts
// Windows shows in the file's properties. The build writes them out as a resource script and the resource
// compiler lays them out, so they cannot say anything other than the registration and About.
#pragma once

#include "../entry/EffectIdentity.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Orvane::VersionResource {

constexpr std::uint16_t kResourceType = 16; // the type Windows reads a file's version from
constexpr std::uint16_t kResourceId = 1;

// Windows numbers a file in four 16-bit parts: major.minor.fix.build. The release stage has no place among
// them and becomes the pre-release flag instead, so release build 1 of 1.0.0 is 1.0.0.1 with no flag set.
using FourPartVersion = std::array<std::uint16_t, 4>;

constexpr FourPartVersion fourPartVersion(const PluginVersion& v) {
    return {static_cast<std::uint16_t>(v.major), static_cast<std::uint16_t>(v.minor),
            static_cast<std::uint16_t>(v.bugfix), static_cast<std::uint16_t>(v.build)};
}
static_assert(kPluginVersion.major >= 0 && kPluginVersion.major <= 0xFFFF && kPluginVersion.minor >= 0 &&
                  kPluginVersion.minor <= 0xFFFF && kPluginVersion.bugfix >= 0 && kPluginVersion.bugfix <= 0xFFFF &&
                  kPluginVersion.build >= 0 && kPluginVersion.build <= 0xFFFF,
              "each part of the version fits a 16-bit part of the file version");

constexpr FourPartVersion kFileVersion = fourPartVersion(kPluginVersion);
constexpr FourPartVersion kProductVersion = kFileVersion;

constexpr std::uint32_t kFlagsMask = 0x3F;     // the flags Windows defines
constexpr std::uint32_t kPrereleaseFlag = 0x2; // a development, alpha or beta build
constexpr std::uint32_t kFileFlags = kPluginVersion.stage == PF_Stage_RELEASE ? 0 : kPrereleaseFlag;
constexpr std::uint32_t kFileOs = 0x00040004; // 32- and 64-bit Windows NT
constexpr std::uint32_t kFileType = 0x2;      // a dynamic library
constexpr std::uint16_t kLanguage = 0x0409;   // English (United States), as the registration resource
constexpr std::uint16_t kCodePage = 1200;     // the texts are stored as UTF-16

inline std::string dotted(const FourPartVersion& v) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]);
}

// The release as About shows it: "1.0.0".
inline std::string releaseText(const PluginVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.bugfix);
}

struct Text {
    const char* key;
    std::string value;
};

// The string table: the file version names the exact build, the product version the release a user knows.
inline std::vector<Text> texts() {
    return {
        {"CompanyName", kCompanyName},
        {"FileDescription", kFileDescription},
        {"FileVersion", dotted(kFileVersion)},
        {"InternalName", kEffectName},
        {"LegalCopyright", kRightsLine},
        {"OriginalFilename", kModuleFileName},
        {"ProductName", kProductName},
        {"ProductVersion", releaseText(kPluginVersion)},
    };
}

} // namespace Orvane::VersionResource
