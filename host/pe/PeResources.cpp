#include "PeResources.h"

namespace OrvaneHost::Pe {

namespace {

constexpr std::uint64_t kDirectoryHeaderSize = 16;
constexpr std::uint64_t kEntrySize = 8;
constexpr std::uint64_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
// Directories may share subdirectories, so a corrupt one could name the same entries over and over.
constexpr std::size_t kMaxEntriesVisited = 16384;
constexpr std::uint16_t kMaxNameLength = 256;

struct Entry {
    ResourceKey key;
    std::uint32_t target; // offset in the resource directory, high bit set for a subdirectory
};

ResourceKey keyAt(const ByteReader& dir, std::uint32_t nameField) {
    ResourceKey key;
    if ((nameField & kHighBit) == 0) {
        if (nameField > 0xFFFF) throw FormatError("resource id " + hex(nameField) + " is not a 16-bit number");
        key.number = static_cast<std::uint16_t>(nameField);
        return key;
    }
    key.isNumber = false;
    const std::uint64_t at = nameField & ~kHighBit;
    const std::uint16_t length = dir.u16(at, "resource name length");
    if (length > kMaxNameLength)
        throw FormatError("resource name of " + std::to_string(length) + " characters is longer than " +
                          std::to_string(kMaxNameLength));
    dir.require(at + 2, 2ull * length, "resource name");
    for (std::uint64_t i = 0; i < length; ++i) {
        const std::uint16_t unit = dir.u16(at + 2 + 2 * i, "resource name");
        key.text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return key;
}

// The entries of the directory at `offset`; `wantSubdirectories` says which kind the level must hold.
std::vector<Entry> entriesAt(const ByteReader& dir, std::uint64_t offset, bool wantSubdirectories,
                             const std::string& level, std::size_t& visited) {
    const std::uint64_t count = std::uint64_t{dir.u16(offset + 12, level + " directory")} +
                                dir.u16(offset + 14, level + " directory");
    dir.require(offset + kDirectoryHeaderSize, kEntrySize * count,
                level + " directory of " + std::to_string(count) + " entries");
    visited += static_cast<std::size_t>(count);
    if (visited > kMaxEntriesVisited)
        throw FormatError("resource directory holds more than " + std::to_string(kMaxEntriesVisited) + " entries");
    std::vector<Entry> entries;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = offset + kDirectoryHeaderSize + kEntrySize * i;
        Entry e{keyAt(dir, dir.u32(at, level + " entry")), dir.u32(at + 4, level + " entry")};
        if (((e.target & kHighBit) != 0) != wantSubdirectories)
            throw FormatError(level + " entry " + e.key.describe() + (wantSubdirectories
                                                                          ? " points at data instead of a directory"
                                                                          : " points at a directory instead of data"));
        entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace

std::string ResourceKey::describe() const { return isNumber ? std::to_string(number) : "\"" + text + "\""; }

std::vector<Resource> listResources(const Image& image) {
    std::vector<Resource> resources;
    const DataDirectory directory = image.directory(Directory::Resource);
    if (!directory.present()) return resources;
    const ByteReader dir = image.view(directory.rva, directory.size, "resource directory");

    // Three levels exactly, each entry of the last one a data entry: a cycle of subdirectories cannot
    // make this loop forever, and each level's entries were bounds-checked as a whole.
    std::size_t visited = 0;
    for (const Entry& type : entriesAt(dir, 0, true, "resource type", visited)) {
        for (const Entry& name : entriesAt(dir, type.target & ~kHighBit, true, "resource name", visited)) {
            for (const Entry& language :
                 entriesAt(dir, name.target & ~kHighBit, false, "resource language", visited)) {
                if (!language.key.isNumber) throw FormatError("resource language is not a number");
                dir.require(language.target, kDataEntrySize, "resource data entry");
                Resource r;
                r.type = type.key;
                r.name = name.key;
                r.language = language.key.number;
                r.dataRva = dir.u32(language.target, "resource data address");
                r.size = dir.u32(language.target + 4, "resource data size");
                resources.push_back(std::move(r));
            }
        }
    }
    return resources;
}

std::optional<Resource> findResourceOfType(const Image& image, const std::string& type) {
    for (const Resource& r : listResources(image))
        if (!r.type.isNumber && r.type.text == type) return r;
    return std::nullopt;
}

std::vector<std::uint8_t> readResourceData(const Image& image, const Resource& resource) {
    const ByteReader data =
        image.view(resource.dataRva, resource.size, "data of resource " + resource.type.describe() + " " +
                                                        resource.name.describe());
    return std::vector<std::uint8_t>(data.data(), data.data() + data.size());
}

} // namespace OrvaneHost::Pe
