#include "PeImage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

namespace OrvaneHost::Pe {

namespace {

constexpr std::uint64_t kMaxModuleSize = 512ull << 20;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint32_t kMaxDirectories = 16;
constexpr std::uint16_t kMaxSections = 96; // the Windows loader's own limit
constexpr std::uint64_t kCoffHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kDirectoriesOffset = 112; // in the PE32+ optional header

} // namespace

Image::Image(std::vector<std::uint8_t> fileBytes) : bytes(std::move(fileBytes)) { readHeaders(); }

void Image::readHeaders() {
    const ByteReader f = file();
    if (f.size() < 64) throw FormatError("file of " + std::to_string(f.size()) + " bytes is too short for a module");
    if (f.u8(0, "signature") != 'M' || f.u8(1, "signature") != 'Z')
        throw FormatError("not a Windows module: no MZ signature");

    const std::uint64_t pe = f.u32(0x3C, "PE header offset");
    f.require(pe, 4 + kCoffHeaderSize, "PE header");
    if (f.u32(pe, "PE signature") != 0x00004550) throw FormatError("no PE signature at offset " + hex(pe));
    const std::uint64_t coff = pe + 4;
    machineType = f.u16(coff, "machine");
    const std::uint16_t sectionCount = f.u16(coff + 2, "section count");
    const std::uint16_t optionalSize = f.u16(coff + 16, "optional header size");

    const std::uint64_t optional = coff + kCoffHeaderSize;
    f.require(optional, optionalSize, "optional header");
    if (optionalSize < 2) throw FormatError("optional header of " + std::to_string(optionalSize) + " bytes");
    const std::uint16_t magic = f.u16(optional, "optional header magic");
    if (magic == kMagicPe32) throw FormatError("a 32-bit (PE32) module; only 64-bit (PE32+) modules are read");
    if (magic != kMagicPe32Plus) throw FormatError("unknown optional header magic " + hex(magic));
    if (optionalSize < kDirectoriesOffset)
        throw FormatError("optional header of " + std::to_string(optionalSize) + " bytes is too short for PE32+");

    const std::uint32_t directoryCount = f.u32(optional + 108, "data directory count");
    if (directoryCount > kMaxDirectories)
        throw FormatError("optional header claims " + std::to_string(directoryCount) +
                          " data directories; the format has at most 16");
    if (kDirectoriesOffset + 8ull * directoryCount > optionalSize)
        throw FormatError(std::to_string(directoryCount) + " data directories do not fit an optional header of " +
                          std::to_string(optionalSize) + " bytes");
    for (std::uint32_t i = 0; i < directoryCount; ++i) {
        const std::uint64_t at = optional + kDirectoriesOffset + 8ull * i;
        directories.push_back({f.u32(at, "data directory"), f.u32(at + 4, "data directory")});
    }

    if (sectionCount == 0) throw FormatError("module has no sections");
    if (sectionCount > kMaxSections)
        throw FormatError("module claims " + std::to_string(sectionCount) + " sections; at most 96 are allowed");
    const std::uint64_t table = optional + optionalSize;
    f.require(table, kSectionHeaderSize * sectionCount, "section table of " + std::to_string(sectionCount) + " entries");
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + kSectionHeaderSize * i;
        Section s;
        for (std::uint64_t c = 0; c < 8 && f.u8(at + c, "section name") != 0; ++c)
            s.name.push_back(static_cast<char>(f.u8(at + c, "section name")));
        s.virtualSize = f.u32(at + 8, "section size");
        s.virtualAddress = f.u32(at + 12, "section address");
        s.rawSize = f.u32(at + 16, "section data size");
        s.rawOffset = f.u32(at + 20, "section data offset");
        if (s.rawSize != 0) f.require(s.rawOffset, s.rawSize, "data of section '" + s.name + "'");
        sectionTable.push_back(std::move(s));
    }
}

DataDirectory Image::directory(Directory which) const {
    const auto index = static_cast<std::size_t>(which);
    return index < directories.size() ? directories[index] : DataDirectory{};
}

std::uint64_t Image::offsetOf(std::uint64_t rva, std::uint64_t count, const std::string& what) const {
    for (const Section& s : sectionTable) {
        // Only what the section maps and the file holds: bytes past either are not in the file as loaded.
        const std::uint64_t extent = s.virtualSize != 0 ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
        if (rva < s.virtualAddress || rva - s.virtualAddress >= std::max<std::uint64_t>(extent, 1)) continue;
        const std::uint64_t within = rva - s.virtualAddress;
        if (count > extent - within)
            throw FormatError(what + " (" + std::to_string(count) + " bytes at address " + hex(rva) +
                              ") runs past the end of section '" + s.name + "'");
        return s.rawOffset + within;
    }
    throw FormatError(what + " at address " + hex(rva) + " is not inside any section's file data");
}

ByteReader Image::view(std::uint64_t rva, std::uint64_t count, const std::string& what) const {
    const std::uint64_t offset = offsetOf(rva, count, what);
    return ByteReader(bytes.data() + offset, static_cast<std::size_t>(count), what);
}

Image Image::fromFile(const std::string& path) { return Image(readModuleFile(path)); }

std::vector<std::uint8_t> readModuleFile(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw std::runtime_error("cannot read " + path);
    if (static_cast<std::uint64_t>(size) > kMaxModuleSize)
        throw FormatError(path + " is " + std::to_string(size) + " bytes, too large for an effect module");
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

} // namespace OrvaneHost::Pe
