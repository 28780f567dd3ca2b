#include "VersionInfo.h"

#include <algorithm>

namespace OrvaneHost::Pe {

namespace {

// Every block: u16 length (the block with its children), u16 value length, u16 value type, a UTF-16 key
// ending in a zero, then the value and the children, each starting at a multiple of 4.
constexpr std::uint64_t kBlockHeaderSize = 6;
constexpr std::uint16_t kTextValue = 1; // the value length counts UTF-16 units, not bytes
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint64_t kFixedSize = 52;

std::uint64_t align4(std::uint64_t at) { return (at + 3) & ~std::uint64_t{3}; }

struct Block {
    std::string key;
    std::uint16_t type = 0;
    std::uint64_t valueAt = 0, valueEnd = 0, childrenAt = 0, end = 0;
};

char narrow(std::uint16_t unit) { return unit < 0x80 ? static_cast<char>(unit) : '?'; }

Block blockAt(const ByteReader& r, std::uint64_t at, std::uint64_t parentEnd, const std::string& what) {
    const std::uint16_t length = r.u16(at, what + " length");
    if (length < kBlockHeaderSize)
        throw FormatError(what + " of " + std::to_string(length) + " bytes at offset " + hex(at) +
                          " is shorter than its header");
    Block b;
    b.end = at + length;
    if (b.end > parentEnd)
        throw FormatError(what + " of " + std::to_string(length) + " bytes at offset " + hex(at) +
                          " runs past the block that holds it");
    const std::uint16_t valueLength = r.u16(at + 2, what + " value length");
    b.type = r.u16(at + 4, what + " value type");
    if (b.type > kTextValue)
        throw FormatError(what + " at offset " + hex(at) + " has value type " + std::to_string(b.type) +
                          "; only 0 (binary) and 1 (text) exist");

    std::uint64_t p = at + kBlockHeaderSize;
    for (;; p += 2) {
        if (p + 2 > b.end) throw FormatError(what + " key at offset " + hex(at) + " has no terminating zero");
        const std::uint16_t unit = r.u16(p, what + " key");
        if (unit == 0) break;
        b.key.push_back(narrow(unit));
    }
    b.valueAt = std::min(align4(p + 2), b.end);
    const std::uint64_t valueBytes = b.type == kTextValue ? 2ull * valueLength : valueLength;
    if (valueBytes > b.end - b.valueAt) {
        // Some resource compilers count a text in bytes; the text then simply ends with its block.
        if (b.type != kTextValue)
            throw FormatError(what + " \"" + b.key + "\" holds a value of " + std::to_string(valueBytes) +
                              " bytes that runs past its block");
        b.valueEnd = b.end;
    } else {
        b.valueEnd = b.valueAt + valueBytes;
    }
    b.childrenAt = std::min(align4(b.valueEnd), b.end);
    return b;
}

// Calls `visit` for each child block; fewer bytes than a header after the last one are padding.
template <class Visit>
void forEachChild(const ByteReader& r, const Block& parent, const std::string& what, Visit visit) {
    for (std::uint64_t at = parent.childrenAt; parent.end - at >= kBlockHeaderSize;) {
        const Block child = blockAt(r, at, parent.end, what);
        visit(child);
        at = std::min(align4(child.end), parent.end);
    }
}

std::string textOf(const ByteReader& r, const Block& b) {
    std::string text;
    for (std::uint64_t p = b.valueAt; p + 2 <= b.valueEnd; p += 2) {
        const std::uint16_t unit = r.u16(p, "version text");
        if (unit == 0) break;
        text.push_back(narrow(unit));
    }
    return text;
}

std::array<std::uint16_t, 4> fourParts(const ByteReader& r, std::uint64_t at, const std::string& what) {
    const std::uint32_t high = r.u32(at, what), low = r.u32(at + 4, what);
    return {static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high & 0xFFFF),
            static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low & 0xFFFF)};
}

} // namespace

std::string VersionInfo::text(const std::string& key) const {
    for (const VersionStringTable& table : stringTables)
        for (const auto& [name, value] : table.strings)
            if (name == key) return value;
    return {};
}

std::string dottedVersion(const std::array<std::uint16_t, 4>& parts) {
    return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." + std::to_string(parts[2]) + "." +
           std::to_string(parts[3]);
}

VersionInfo parseVersionInfo(const std::uint8_t* data, std::size_t size) {
    const ByteReader r(data, size, "version resource");
    const Block root = blockAt(r, 0, size, "version block");
    if (root.key != "VS_VERSION_INFO")
        throw FormatError("the version resource starts with the block \"" + root.key + "\", not \"VS_VERSION_INFO\"");
    if (root.valueEnd - root.valueAt != kFixedSize)
        throw FormatError("the fixed version information holds " + std::to_string(root.valueEnd - root.valueAt) +
                          " bytes instead of " + std::to_string(kFixedSize));
    const std::uint64_t fixed = root.valueAt;
    if (r.u32(fixed, "fixed version signature") != kFixedSignature)
        throw FormatError("the fixed version information does not carry its signature");

    VersionInfo info;
    info.fileVersion = fourParts(r, fixed + 8, "file version");
    info.productVersion = fourParts(r, fixed + 16, "product version");
    info.flagsMask = r.u32(fixed + 24, "version flags mask");
    info.flags = r.u32(fixed + 28, "version flags");
    info.os = r.u32(fixed + 32, "version system");
    info.fileType = r.u32(fixed + 36, "file type");
    info.fileSubtype = r.u32(fixed + 40, "file subtype");

    forEachChild(r, root, "version block", [&](const Block& group) {
        if (group.key == "StringFileInfo") {
            forEachChild(r, group, "string table", [&](const Block& table) {
                VersionStringTable t;
                t.key = table.key;
                forEachChild(r, table, "version text",
                             [&](const Block& s) { t.strings.emplace_back(s.key, textOf(r, s)); });
                info.stringTables.push_back(std::move(t));
            });
        } else if (group.key == "VarFileInfo") {
            forEachChild(r, group, "translation block", [&](const Block& var) {
                if (var.key != "Translation") return;
                for (std::uint64_t p = var.valueAt; p + 4 <= var.valueEnd; p += 4)
                    info.translations.push_back({r.u16(p, "translation"), r.u16(p + 2, "translation")});
            });
        }
    });
    return info;
}

std::optional<ModuleVersion> readModuleVersion(const Image& image) {
    for (const Resource& resource : listResources(image)) {
        if (!resource.type.isNumber || resource.type.number != kVersionResourceType) continue;
        const std::vector<std::uint8_t> bytes = readResourceData(image, resource);
        return ModuleVersion{resource, parseVersionInfo(bytes.data(), bytes.size())};
    }
    return std::nullopt;
}

} // namespace OrvaneHost::Pe
