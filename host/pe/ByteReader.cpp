#include "ByteReader.h"

#include <cstdio>
#include <utility>

namespace OrvaneHost::Pe {

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

ByteReader::ByteReader(const std::uint8_t* data, std::size_t size, std::string block)
    : bytes(data), length(size), block(std::move(block)) {}

bool ByteReader::contains(std::uint64_t offset, std::uint64_t count) const {
    return offset <= length && count <= length - offset;
}

void ByteReader::require(std::uint64_t offset, std::uint64_t count, const std::string& what) const {
    if (!contains(offset, count))
        throw FormatError(what + " (" + std::to_string(count) + " bytes at offset " + hex(offset) +
                          ") lies outside the " + block + " of " + std::to_string(length) + " bytes");
}

std::uint8_t ByteReader::u8(std::uint64_t offset, const std::string& what) const {
    require(offset, 1, what);
    return bytes[offset];
}

std::uint16_t ByteReader::u16(std::uint64_t offset, const std::string& what) const {
    require(offset, 2, what);
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t ByteReader::u32(std::uint64_t offset, const std::string& what) const {
    require(offset, 4, what);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[offset + static_cast<std::uint64_t>(i)];
    return v;
}

std::uint64_t ByteReader::u64(std::uint64_t offset, const std::string& what) const {
    require(offset, 8, what);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | bytes[offset + static_cast<std::uint64_t>(i)];
    return v;
}

std::string ByteReader::cString(std::uint64_t offset, std::size_t maxLength, const std::string& what) const {
    require(offset, 0, what);
    std::string text;
    for (std::uint64_t at = offset; at < length; ++at) {
        if (bytes[at] == 0) return text;
        if (text.size() == maxLength)
            throw FormatError(what + " at offset " + hex(offset) + " is longer than " + std::to_string(maxLength) +
                              " characters");
        text.push_back(static_cast<char>(bytes[at]));
    }
    throw FormatError(what + " at offset " + hex(offset) + " runs past the end of the " + block +
                      " without a terminating zero");
}

} // namespace OrvaneHost::Pe
