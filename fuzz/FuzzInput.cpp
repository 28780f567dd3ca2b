#include "FuzzInput.h"

#include <cstring>
#include <limits>

namespace OrvaneFuzz {

std::uint8_t FuzzInput::u8() {
    if (left == 0) return 0;
    --left;
    return *bytes++;
}

std::uint16_t FuzzInput::u16() {
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | (std::uint16_t(u8()) << 8));
}

std::int32_t FuzzInput::i32() {
    std::uint32_t v = u16();
    v |= std::uint32_t(u16()) << 16;
    std::int32_t out;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

double FuzzInput::hostileDouble() {
    switch (u8() % 12) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return 1e300;
    case 4: return -1e300;
    case 5: return std::numeric_limits<double>::denorm_min();
    case 6: return 0.0;
    case 7: return 1.0;
    default: return (double(u16()) / 65535.0) * 4.0 - 2.0;
    }
}

} // namespace OrvaneFuzz
