// A module's Windows version resource (type 16) as the file's properties show it: the fixed numbers (file
// and product version, flags, system and file type) and the texts of its string tables.
#pragma once

#include "PeResources.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace OrvaneHost::Pe {

constexpr std::uint16_t kVersionResourceType = 16;

struct VersionTranslation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

struct VersionStringTable {
    std::string key; // language and code page as eight hex digits, "040904B0"
    std::vector<std::pair<std::string, std::string>> strings; // in file order
};

struct VersionInfo {
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    std::uint32_t flagsMask = 0, flags = 0, os = 0, fileType = 0, fileSubtype = 0;
    std::vector<VersionStringTable> stringTables;
    std::vector<VersionTranslation> translations;

    // The text under `key` in the first string table that has it; empty when none has.
    std::string text(const std::string& key) const;
};

// "1.0.0.1"
std::string dottedVersion(const std::array<std::uint16_t, 4>& parts);

// Parses the resource's data; throws FormatError when a block's length, key or value overruns its parent,
// or the fixed part is missing or not signed as such. Characters outside ASCII read as '?'.
VersionInfo parseVersionInfo(const std::uint8_t* data, std::size_t size);

struct ModuleVersion {
    Resource resource;
    VersionInfo info;
};

// The module's first version resource, or nothing when it has none; throws FormatError when it is malformed.
std::optional<ModuleVersion> readModuleVersion(const Image& image);

} // namespace OrvaneHost::Pe
