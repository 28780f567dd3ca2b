// A 64-bit Windows module (PE32+) read as a file, on any platform: its headers, section table and data
// directories, with every address translated to a file offset only after checking it lands inside one
// section's data. Nothing is loaded or run.
#pragma once

#include "ByteReader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvaneHost::Pe {

constexpr std::uint16_t kMachineAmd64 = 0x8664;

enum class Directory : unsigned { Export = 0, Import = 1, Resource = 2 };

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
    bool present() const { return rva != 0 && size != 0; }
};

struct Section {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

class Image {
public:
    // Throws FormatError when the headers or the section table do not fit the bytes.
    explicit Image(std::vector<std::uint8_t> fileBytes);
    // Reads the whole file first; throws std::runtime_error when it cannot be read.
    static Image fromFile(const std::string& path);

    std::uint16_t machine() const { return machineType; }
    const std::vector<Section>& sections() const { return sectionTable; }
    DataDirectory directory(Directory which) const;

    ByteReader file() const { return ByteReader(bytes.data(), bytes.size(), "file"); }
    // The file offset of `count` bytes at `rva`; throws unless all of them lie in one section's file data.
    std::uint64_t offsetOf(std::uint64_t rva, std::uint64_t count, const std::string& what) const;
    // The same bytes as a reader of their own, so offsets inside them are checked against their extent.
    ByteReader view(std::uint64_t rva, std::uint64_t count, const std::string& what) const;

private:
    void readHeaders();

    std::vector<std::uint8_t> bytes;
    std::uint16_t machineType = 0;
    std::vector<DataDirectory> directories;
    std::vector<Section> sectionTable;
};

// The bytes of a module file, refusing files too large to be an effect module.
std::vector<std::uint8_t> readModuleFile(const std::string& path);

} // namespace OrvaneHost::Pe
