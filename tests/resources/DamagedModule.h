// Copies of the real Windows module with one field changed, and where that field lives in the file.
#pragma once

#include "ExpectedPipl.h"
#include "WindowsModule.h"

#include "host/pe/ModuleRegistration.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace OrvaneTest {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t read32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b.at(at)} | std::uint32_t{b.at(at + 1)} << 8 | std::uint32_t{b.at(at + 2)} << 16 |
           std::uint32_t{b.at(at + 3)} << 24;
}

inline Bytes with16(Bytes b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
    return b;
}

inline Bytes with32(Bytes b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

// File offsets of the headers, found by hand from the format's fixed layout.
struct Layout {
    std::size_t pe = 0;       // "PE\0\0"
    std::size_t coff = 0;     // machine, section count, ..., optional header size
    std::size_t optional = 0; // magic, ..., data directories at +112
    std::size_t directory(unsigned index) const { return optional + 112 + 8 * index; }
    std::size_t pipl = 0;     // the registration resource's data, located by its contents
    std::size_t version = 0;  // the version resource's data, located by its first block's key
};

inline Layout layoutOf(const Bytes& b) {
    Layout l;
    l.pe = read32(b, 0x3C);
    l.coff = l.pe + 4;
    l.optional = l.coff + 20;
    const Bytes pipl = expectedPiplBytes();
    l.pipl = static_cast<std::size_t>(std::search(b.begin(), b.end(), pipl.begin(), pipl.end()) - b.begin());
    Bytes key;
    for (const char c : std::string("VS_VERSION_INFO")) key.insert(key.end(), {static_cast<std::uint8_t>(c), 0});
    l.version = static_cast<std::size_t>(std::search(b.begin(), b.end(), key.begin(), key.end()) - b.begin()) - 6;
    return l;
}

// The module cut down to its headers and the three sections the reader looks into (exports, imports,
// resources), their data moved up behind the headers and every other section left without file data: a
// valid module of a few kilobytes, so sweeps over thousands of damaged copies stay quick.
inline Bytes compactModule(const Bytes& b) {
    const Layout l = layoutOf(b);
    const std::size_t sectionCount = b.at(l.coff + 2) | b.at(l.coff + 3) << 8;
    const std::size_t table = l.optional + (b.at(l.coff + 16) | b.at(l.coff + 17) << 8);
    std::size_t headersEnd = b.size();
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = table + 40 * i;
        if (read32(b, at + 16) != 0) headersEnd = std::min<std::size_t>(headersEnd, read32(b, at + 20));
    }
    Bytes out(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(headersEnd));
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = table + 40 * i;
        const std::string name(reinterpret_cast<const char*>(&b.at(at)), 6);
        const bool kept = name == std::string(".edata", 6) || name == std::string(".idata", 6) ||
                          name == std::string(".rsrc\0", 6);
        const std::uint32_t rawOffset = read32(b, at + 20), rawSize = read32(b, at + 16);
        if (kept && rawSize != 0) {
            out = with32(std::move(out), at + 20, static_cast<std::uint32_t>(out.size()));
            out.insert(out.end(), b.begin() + rawOffset, b.begin() + rawOffset + rawSize);
        } else {
            out = with32(with32(std::move(out), at + 16, 0), at + 20, 0);
        }
    }
    return out;
}

// The file offset of an address, through the reader: used only to find what to damage.
inline std::size_t fileOffset(const Bytes& b, std::uint32_t rva) {
    return static_cast<std::size_t>(OrvaneHost::Pe::Image(b).offsetOf(rva, 1, "test"));
}

inline OrvaneHost::Pe::ModuleRegistration readAll(Bytes b) {
    return OrvaneHost::Pe::readModuleRegistration(OrvaneHost::Pe::Image(std::move(b)));
}

} // namespace OrvaneTest
