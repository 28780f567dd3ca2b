// The registration resource as the effect must register it, written out row by row by hand: the offset each
// property must start at, and its bytes (four-character codes reversed, numbers little-endian).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace OrvaneTest {

struct ExpectedRow {
    std::size_t offset;
    const char* what;
    std::string bytes;
};

template <std::size_t N> std::string raw(const char (&text)[N]) { return std::string(text, N - 1); }

inline const std::vector<ExpectedRow>& expectedPiplRows() {
    static const std::vector<ExpectedRow> rows = {
        {0, "header", raw("\x01\x00" "\x00\x00\x00\x00" "\x0C\x00\x00\x00")},
        {10, "kind", raw("MIB8" "dnik" "\0\0\0\0" "\x04\0\0\0" "TKFe")},
        {30, "name", raw("MIB8" "eman" "\0\0\0\0" "\x18\0\0\0" "\x14" "OrvaneVelmorathquist" "\0\0\0")},
        {70, "catg", raw("MIB8" "gtac" "\0\0\0\0" "\x08\0\0\0" "\x06" "Orvane" "\0")},
        {94, "8664", raw("MIB8" "4668" "\0\0\0\0" "\x10\0\0\0" "EntryPointFunc" "\0\0")},
        {126, "ePVR", raw("MIB8" "RVPe" "\0\0\0\0" "\x04\0\0\0" "\x02\0" "\0\0")},
        {146, "eSVR", raw("MIB8" "RVSe" "\0\0\0\0" "\x04\0\0\0" "\x0D\0" "\x01\0")},
        {166, "eVER", raw("MIB8" "REVe" "\0\0\0\0" "\x04\0\0\0" "\x01\x06\x08\x00")},
        {186, "eINF", raw("MIB8" "FNIe" "\0\0\0\0" "\x02\0\0\0" "\0\0" "\0\0")},
        {206, "eGLO", raw("MIB8" "OLGe" "\0\0\0\0" "\x04\0\0\0" "\x00\x00\x00\x06")},
        {226, "eGL2", raw("MIB8" "2LGe" "\0\0\0\0" "\x04\0\0\0" "\x00\x14\x00\x00")},
        {246, "eMNA", raw("MIB8" "ANMe" "\0\0\0\0" "\x18\0\0\0" "\x14" "OrvaneVelmorathquist" "\0\0\0")},
        {286, "aeFL", raw("MIB8" "LFea" "\0\0\0\0" "\x04\0\0\0" "\x08\0\0\0")},
    };
    return rows;
}

constexpr std::size_t kExpectedPiplSize = 306;

inline std::vector<std::uint8_t> expectedPiplBytes() {
    std::string all;
    for (const ExpectedRow& row : expectedPiplRows()) all += row.bytes;
    return std::vector<std::uint8_t>(all.begin(), all.end());
}

} // namespace OrvaneTest
