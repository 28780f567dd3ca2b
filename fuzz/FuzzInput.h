// Reads a fuzzer's bytes as the values of one frame request; past the end every value reads as zero, so any
// input, however short, is a request.
#pragma once

#include <cstddef>
#include <cstdint>

namespace OrvaneFuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes(data), left(size) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::int32_t i32();
    // A value in [0, count).
    unsigned below(unsigned count) { return count ? u8() % count : 0; }
    // A double from a small palette of hostile values, or from the next bytes scaled into [-2, 2].
    double hostileDouble();

private:
    const std::uint8_t* bytes;
    std::size_t left;
};

} // namespace OrvaneFuzz
