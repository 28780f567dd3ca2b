// The registration resource a host reads to list, name and load the effect without running any of its
// code: a property list built at compile time from the effect's identity constants, so the resource
// cannot say anything other than what global setup and the dispatcher use.
//
// Layout: a 10-byte header (u16 1, u32 0, u32 property count), then each property as vendor code,
// key, id, data length, data, and zero bytes up to a multiple of 4 counted from the property's start.
// Numbers are little-endian; a four-character code is the little-endian store of its big-endian
// reading, so its characters appear reversed in the file.
#pragma once

#include "../entry/EffectIdentity.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Orvane::Pipl {

constexpr const char* kResourceType = "PIPL";
constexpr std::uint16_t kResourceId = 16000;
constexpr std::uint16_t kResourceLanguage = 1033; // English (United States)

constexpr const char* kVendor = "8BIM";
constexpr std::uint32_t kPropertyCount = 12;
constexpr std::uint32_t kReservedInfoWord = 8; // the `aeFL` property

namespace detail {

constexpr std::size_t textLength(const char* text) {
    std::size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}
constexpr std::size_t roundUp4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// Data lengths of the string properties: a length byte then the characters, or the characters and a
// terminating zero; both padded with zeros to a multiple of 4 that the stored length counts.
constexpr std::size_t pascalStringLength(const char* text) { return roundUp4(1 + textLength(text)); }
constexpr std::size_t cStringLength(const char* text) { return roundUp4(textLength(text) + 1); }

constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kPropertyHeaderSize = 16;
constexpr std::size_t property(std::size_t dataLength) { return roundUp4(kPropertyHeaderSize + dataLength); }

constexpr std::size_t resourceSize() {
    return kHeaderSize + property(4) /* kind */ + property(pascalStringLength(kEffectName)) +
           property(pascalStringLength(kEffectCategory)) + property(cStringLength(kEntryPointName)) +
           property(4) /* ePVR */ + property(4) /* eSVR */ + property(4) /* eVER */ + property(2) /* eINF */ +
           property(4) /* eGLO */ + property(4) /* eGL2 */ + property(pascalStringLength(kEffectMatchName)) +
           property(4) /* aeFL */;
}

} // namespace detail

constexpr std::size_t kResourceSize = detail::resourceSize();
using Bytes = std::array<std::uint8_t, kResourceSize>;

namespace detail {

class Writer {
public:
    constexpr void u8(std::uint8_t v) { bytes[at++] = v; }
    constexpr void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    constexpr void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    constexpr void code(const char* fourChars) {
        for (int i = 3; i >= 0; --i) u8(static_cast<std::uint8_t>(fourChars[i]));
    }

    constexpr void begin(const char* key, std::size_t dataLength) {
        start = at;
        code(kVendor);
        code(key);
        u32(0);
        u32(static_cast<std::uint32_t>(dataLength));
    }
    constexpr void end() {
        while ((at - start) % 4 != 0) u8(0);
    }

    constexpr void pascalString(const char* key, const char* text) {
        const std::size_t n = textLength(text);
        begin(key, pascalStringLength(text));
        u8(static_cast<std::uint8_t>(n));
        for (std::size_t i = 0; i < n; ++i) u8(static_cast<std::uint8_t>(text[i]));
        end();
    }
    constexpr void cString(const char* key, const char* text) {
        begin(key, cStringLength(text));
        for (std::size_t i = 0; text[i] != '\0'; ++i) u8(static_cast<std::uint8_t>(text[i]));
        end();
    }
    constexpr void word(const char* key, std::uint32_t value) {
        begin(key, 4);
        u32(value);
        end();
    }
    constexpr void twoShorts(const char* key, std::uint16_t first, std::uint16_t second) {
        begin(key, 4);
        u16(first);
        u16(second);
        end();
    }

    Bytes bytes{};
    std::size_t at = 0;
    std::size_t start = 0;
};

} // namespace detail

constexpr Bytes buildResource() {
    detail::Writer w;
    w.u16(1);
    w.u32(0);
    w.u32(kPropertyCount);

    w.begin("kind", 4);
    w.code("eFKT"); // an effect plug-in
    w.end();
    w.pascalString("name", kEffectName);
    w.pascalString("catg", kEffectCategory);
    w.cString("8664", kEntryPointName); // the entry point on 64-bit Windows, x86-64
    w.twoShorts("ePVR", 2, 0);          // property-list format 2.0
    w.twoShorts("eSVR", 13, 1);         // effect interface the code is written for
    w.word("eVER", packVersion(kPluginVersion));
    w.begin("eINF", 2); // no info flags; the padding after the 2-byte value lies outside its length
    w.u16(0);
    w.end();
    w.word("eGLO", static_cast<std::uint32_t>(kGlobalOutFlags));
    w.word("eGL2", static_cast<std::uint32_t>(kGlobalOutFlags2));
    w.pascalString("eMNA", kEffectMatchName);
    w.word("aeFL", kReservedInfoWord);
    if (w.at != kResourceSize) throw "the property list does not fill the resource exactly";
    return w.bytes;
}

// Evaluated by the compiler: an overrun while writing would stop the build here.
constexpr Bytes kResource = buildResource();
static_assert(kResourceSize == 306, "the registered property list of this effect is 306 bytes");
static_assert(detail::textLength(kEffectName) <= 255 && detail::textLength(kEffectMatchName) <= 255 &&
                  detail::textLength(kEffectCategory) <= 255,
              "length-byte strings hold at most 255 characters");

} // namespace Orvane::Pipl
