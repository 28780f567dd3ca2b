#include "Pipl.h"

#include <algorithm>

namespace OrvaneHost::Pe {

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kPropertyHeaderSize = 16;

// A four-character code is stored as the little-endian word of its big-endian reading.
std::string fourCharCode(const ByteReader& r, std::uint64_t offset, const std::string& what) {
    const std::uint32_t word = r.u32(offset, what);
    std::string code;
    for (int shift = 24; shift >= 0; shift -= 8) code.push_back(static_cast<char>((word >> shift) & 0xFF));
    return code;
}

const std::vector<std::uint8_t>* dataOf(const PropertyList& list, const char* key) {
    const PiplProperty* p = list.find(key);
    return p ? &p->data : nullptr;
}

void requireSize(const std::vector<std::uint8_t>& data, std::size_t size, const char* key) {
    if (data.size() != size)
        throw FormatError(std::string("property '") + key + "' holds " + std::to_string(data.size()) +
                          " bytes instead of " + std::to_string(size));
}

std::optional<std::uint32_t> word(const PropertyList& list, const char* key) {
    const auto* data = dataOf(list, key);
    if (!data) return std::nullopt;
    requireSize(*data, 4, key);
    return ByteReader(data->data(), data->size(), key).u32(0, key);
}

std::optional<VersionPair> versionPair(const PropertyList& list, const char* key) {
    const auto* data = dataOf(list, key);
    if (!data) return std::nullopt;
    requireSize(*data, 4, key);
    const ByteReader r(data->data(), data->size(), key);
    return VersionPair{r.u16(0, key), r.u16(2, key)};
}

// A length byte and that many characters, all inside the property's data.
std::string pascalString(const PropertyList& list, const char* key) {
    const auto* data = dataOf(list, key);
    if (!data) return {};
    if (data->empty()) throw FormatError(std::string("property '") + key + "' is empty");
    const std::size_t length = (*data)[0];
    if (1 + length > data->size())
        throw FormatError(std::string("property '") + key + "' declares a string of " + std::to_string(length) +
                          " characters in " + std::to_string(data->size() - 1) + " bytes");
    return std::string(data->begin() + 1, data->begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

// Characters up to a zero byte that must lie inside the property's data.
std::string cString(const PropertyList& list, const char* key) {
    const auto* data = dataOf(list, key);
    if (!data) return {};
    const auto zero = std::find(data->begin(), data->end(), std::uint8_t{0});
    if (zero == data->end())
        throw FormatError(std::string("property '") + key + "' holds a name without a terminating zero");
    return std::string(data->begin(), zero);
}

} // namespace

const PiplProperty* PropertyList::find(const std::string& key) const {
    for (const PiplProperty& p : properties)
        if (p.key == key) return &p;
    return nullptr;
}

PropertyList parsePropertyList(const std::uint8_t* data, std::size_t size) {
    const ByteReader r(data, size, "PIPL resource");
    PropertyList list;
    list.version = r.u16(0, "property list header");
    if (list.version != 1)
        throw FormatError("property list of version " + std::to_string(list.version) + "; only version 1 is read");
    const std::uint32_t count = r.u32(6, "property count");

    std::uint64_t at = kHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string what = "property " + std::to_string(i + 1) + " of " + std::to_string(count);
        r.require(at, kPropertyHeaderSize, what);
        PiplProperty p;
        p.offset = static_cast<std::size_t>(at);
        p.vendor = fourCharCode(r, at, what);
        p.key = fourCharCode(r, at + 4, what);
        p.id = r.u32(at + 8, what);
        const std::uint64_t length = r.u32(at + 12, what);
        r.require(at + kPropertyHeaderSize, length, what + " ('" + p.key + "', " + std::to_string(length) + " bytes)");
        const std::uint8_t* begin = data + at + kPropertyHeaderSize;
        p.data.assign(begin, begin + length);
        // Padding to a multiple of 4 counted from the property's own start.
        const std::uint64_t padded = (kPropertyHeaderSize + length + 3) & ~std::uint64_t{3};
        r.require(at, padded, what + " ('" + p.key + "') with its padding");
        at += padded;
        list.properties.push_back(std::move(p));
    }
    list.end = static_cast<std::size_t>(at);
    return list;
}

UnpackedVersion unpackVersion(std::uint32_t packed) {
    return {(packed >> 19) & 0x7, (packed >> 15) & 0xF, (packed >> 11) & 0xF, (packed >> 9) & 0x3, packed & 0x1FF};
}

Registration readRegistration(const PropertyList& list) {
    Registration reg;
    if (const auto* kind = dataOf(list, "kind")) {
        requireSize(*kind, 4, "kind");
        reg.kind = fourCharCode(ByteReader(kind->data(), kind->size(), "kind"), 0, "kind");
    }
    reg.name = pascalString(list, "name");
    reg.category = pascalString(list, "catg");
    reg.matchName = pascalString(list, "eMNA");
    reg.entryPoint = cString(list, "8664");
    reg.propertyListVersion = versionPair(list, "ePVR");
    reg.interfaceVersion = versionPair(list, "eSVR");
    reg.version = word(list, "eVER");
    if (const auto* info = dataOf(list, "eINF")) {
        requireSize(*info, 2, "eINF");
        reg.infoFlags = ByteReader(info->data(), info->size(), "eINF").u16(0, "eINF");
    }
    reg.outFlags = word(list, "eGLO");
    reg.outFlags2 = word(list, "eGL2");
    return reg;
}

} // namespace OrvaneHost::Pe
