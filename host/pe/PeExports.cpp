#include "PeExports.h"

#include <algorithm>
#include <limits>

namespace OrvaneHost::Pe {

namespace {

constexpr std::uint64_t kExportDirectorySize = 40;
constexpr std::uint64_t kImportDescriptorSize = 20;
constexpr std::size_t kMaxNameLength = 4096;
// More than any real module has; bounds the work a corrupt count can cause.
constexpr std::uint32_t kMaxExports = 65536;
constexpr std::uint32_t kMaxImportedLibraries = 4096;

std::string nameAt(const Image& image, std::uint32_t rva, const std::string& what) {
    const std::uint64_t offset = image.offsetOf(rva, 1, what);
    return image.file().cString(offset, kMaxNameLength, what);
}

} // namespace

ExportTable readExports(const Image& image) {
    ExportTable table;
    const DataDirectory dir = image.directory(Directory::Export);
    if (!dir.present()) return table;
    if (dir.size < kExportDirectorySize)
        throw FormatError("export directory of " + std::to_string(dir.size) + " bytes is shorter than its header");
    const ByteReader header = image.view(dir.rva, kExportDirectorySize, "export directory");
    const std::uint32_t nameRva = header.u32(12, "export module name");
    const std::uint32_t base = header.u32(16, "ordinal base");
    const std::uint32_t functionCount = header.u32(20, "export count");
    const std::uint32_t nameCount = header.u32(24, "export name count");
    if (functionCount > kMaxExports || nameCount > kMaxExports)
        throw FormatError("export directory claims " + std::to_string(functionCount) + " exports and " +
                          std::to_string(nameCount) + " names; more than a module can hold");
    if (nameCount > functionCount)
        throw FormatError("export directory names " + std::to_string(nameCount) + " exports but holds only " +
                          std::to_string(functionCount));
    if (static_cast<std::uint64_t>(base) + functionCount > std::numeric_limits<std::uint32_t>::max())
        throw FormatError("export ordinals from " + std::to_string(base) + " overflow");

    if (nameRva != 0) table.moduleName = nameAt(image, nameRva, "export module name");

    const ByteReader addresses = image.view(header.u32(28, "export address table"), 4ull * functionCount,
                                            "export address table");
    const ByteReader names = image.view(header.u32(32, "export name table"), 4ull * nameCount, "export name table");
    const ByteReader nameIndices =
        image.view(header.u32(36, "export ordinal table"), 2ull * nameCount, "export ordinal table");

    std::vector<std::string> nameOf(functionCount);
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        const std::uint16_t index = nameIndices.u16(2ull * i, "export ordinal");
        if (index >= functionCount)
            throw FormatError("export name " + std::to_string(i) + " refers to export " + std::to_string(index) +
                              " of " + std::to_string(functionCount));
        nameOf[index] = nameAt(image, names.u32(4ull * i, "export name"), "export name");
    }

    for (std::uint32_t i = 0; i < functionCount; ++i) {
        const std::uint32_t rva = addresses.u32(4ull * i, "export address");
        if (rva == 0) continue; // an unused ordinal
        Export e;
        e.ordinal = base + i;
        e.name = nameOf[i];
        e.rva = rva;
        // An address inside the export directory itself is the name of the function it forwards to.
        if (rva >= dir.rva && rva - dir.rva < dir.size) e.forwarder = nameAt(image, rva, "export forwarder");
        table.exports.push_back(std::move(e));
    }
    return table;
}

std::vector<std::string> readImportedLibraries(const Image& image) {
    std::vector<std::string> libraries;
    const DataDirectory dir = image.directory(Directory::Import);
    if (!dir.present()) return libraries;
    for (std::uint32_t i = 0;; ++i) {
        if (i == kMaxImportedLibraries)
            throw FormatError("import directory has no end within " + std::to_string(kMaxImportedLibraries) +
                              " entries");
        const ByteReader entry =
            image.view(static_cast<std::uint64_t>(dir.rva) + kImportDescriptorSize * i, kImportDescriptorSize,
                       "import descriptor " + std::to_string(i));
        const std::uint32_t nameRva = entry.u32(12, "imported library name");
        const bool terminator = nameRva == 0 && entry.u32(0, "import lookup table") == 0 &&
                                entry.u32(16, "import address table") == 0;
        if (terminator) break;
        if (nameRva == 0) throw FormatError("import descriptor " + std::to_string(i) + " has no library name");
        libraries.push_back(nameAt(image, nameRva, "imported library name"));
    }
    return libraries;
}

} // namespace OrvaneHost::Pe
