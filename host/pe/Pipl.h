// The effect's registration as a host reads it: the "PIPL" property list, parsed from its bytes, and the
// values a host's effect list takes from it.
#pragma once

#include "ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace OrvaneHost::Pe {

struct PiplProperty {
    std::size_t offset = 0; // from the start of the resource
    std::string vendor;     // four-character codes in reading order ("8BIM", "kind")
    std::string key;
    std::uint32_t id = 0;
    std::vector<std::uint8_t> data; // `length` bytes; the padding after them is not included
};

struct PropertyList {
    std::uint16_t version = 0;
    std::vector<PiplProperty> properties;
    std::size_t end = 0; // where the last property, with its padding, ends

    const PiplProperty* find(const std::string& key) const; // the first property with this key
};

// Throws FormatError when the header or any property's length or padding overruns the bytes.
PropertyList parsePropertyList(const std::uint8_t* data, std::size_t size);

struct VersionPair {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
};

struct UnpackedVersion {
    unsigned major, minor, bugfix, stage, build;
};
UnpackedVersion unpackVersion(std::uint32_t packed);

struct Registration {
    std::string kind; // "eFKT" for an effect
    std::string name;
    std::string category;
    std::string matchName;
    std::string entryPoint; // for 64-bit Windows on x86-64 (`8664`)
    std::optional<VersionPair> propertyListVersion; // `ePVR`
    std::optional<VersionPair> interfaceVersion;    // `eSVR`
    std::optional<std::uint32_t> version;           // `eVER`, packed
    std::optional<std::uint16_t> infoFlags;         // `eINF`
    std::optional<std::uint32_t> outFlags;          // `eGLO`
    std::optional<std::uint32_t> outFlags2;         // `eGL2`
};

// Throws FormatError when a property's data does not match its kind (a string longer than its property,
// a number of the wrong size).
Registration readRegistration(const PropertyList& list);

} // namespace OrvaneHost::Pe
