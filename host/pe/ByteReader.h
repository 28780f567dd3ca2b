// Bounds-checked little-endian reads from a block of bytes that came from a file: every read names what it
// reads, and one that would leave the block throws FormatError instead of touching memory outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace OrvaneHost::Pe {

// A module file that is not what it claims to be: truncated, with offsets or counts that point outside it.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string hex(std::uint64_t value);

class ByteReader {
public:
    // `block` names the bytes in messages ("file", "PIPL resource").
    ByteReader(const std::uint8_t* data, std::size_t size, std::string block);

    std::size_t size() const { return length; }
    const std::uint8_t* data() const { return bytes; }

    // Throws unless [offset, offset + count) lies inside the block; safe for any 64-bit values.
    void require(std::uint64_t offset, std::uint64_t count, const std::string& what) const;
    bool contains(std::uint64_t offset, std::uint64_t count) const;

    std::uint8_t u8(std::uint64_t offset, const std::string& what) const;
    std::uint16_t u16(std::uint64_t offset, const std::string& what) const;
    std::uint32_t u32(std::uint64_t offset, const std::string& what) const;
    std::uint64_t u64(std::uint64_t offset, const std::string& what) const;
    // The characters from `offset` up to a zero byte, which must come within `maxLength` bytes and the block.
    std::string cString(std::uint64_t offset, std::size_t maxLength, const std::string& what) const;

private:
    const std::uint8_t* bytes;
    std::size_t length;
    std::string block;
};

} // namespace OrvaneHost::Pe
