// The resource directory of a module: its three levels (type, name, language) flattened into a list, and
// the data of one resource.
#pragma once

#include "PeImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace OrvaneHost::Pe {

// A resource type or name: a number, or a string (shown with characters outside ASCII as '?').
struct ResourceKey {
    bool isNumber = true;
    std::uint16_t number = 0;
    std::string text;

    std::string describe() const;
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    std::uint32_t dataRva = 0;
    std::uint32_t size = 0;
};

// Every resource in directory order; empty when the module has none. Throws FormatError when malformed.
std::vector<Resource> listResources(const Image& image);

// The first resource of the string type `type` (any name, any language).
std::optional<Resource> findResourceOfType(const Image& image, const std::string& type);

std::vector<std::uint8_t> readResourceData(const Image& image, const Resource& resource);

} // namespace OrvaneHost::Pe
