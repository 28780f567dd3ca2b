// The functions a module exports and the libraries it imports, as listed in its file.
#pragma once

#include "PeImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvaneHost::Pe {

struct Export {
    std::uint32_t ordinal = 0;
    std::string name;      // empty for an export by ordinal only
    std::uint32_t rva = 0;
    std::string forwarder; // "LIBRARY.Function" when the export forwards to another module
};

struct ExportTable {
    std::string moduleName;
    std::vector<Export> exports; // by ordinal
};

// An empty table when the module has no export directory; throws FormatError when it is malformed.
ExportTable readExports(const Image& image);

// The names of the libraries the module imports, in file order.
std::vector<std::string> readImportedLibraries(const Image& image);

} // namespace OrvaneHost::Pe
