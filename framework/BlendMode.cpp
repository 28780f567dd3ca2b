#include "BlendMode.h"

#include <cstddef>

namespace Orvane {

namespace {

struct ModePair {
    int framework;
    int host;
};

// Both directions read this one table, so they cannot drift apart.
constexpr ModePair kModes[] = {
    {-1, -1}, {1, 3},   {2, 4},   {3, 5},   {4, 6},   {5, 7},   {6, 8},   {7, 9},   {8, 27},  {9, 28},
    {10, 10}, {11, 11}, {12, 26}, {13, 25}, {14, 13}, {15, 14}, {16, 16}, {17, 22}, {18, 30}, {19, 24},
    {20, 29}, {21, 23}, {22, 31}, {23, 32}, {24, 33}, {25, 34}, {26, 12}, {27, 15},
};

constexpr int kHostNormal = 2;

constexpr bool eachSideIsUnique() {
    constexpr std::size_t n = sizeof(kModes) / sizeof(kModes[0]);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (kModes[i].framework == kModes[j].framework || kModes[i].host == kModes[j].host) return false;
    return true;
}
static_assert(eachSideIsUnique(), "the table must be invertible");

constexpr bool defaultsStayOutOfTheTable() {
    for (const ModePair& pair : kModes)
        if (pair.framework == BlendNormal || pair.host == kHostNormal) return false;
    return true;
}
static_assert(defaultsStayOutOfTheTable(), "normal is the fallback of both directions, not a table entry");

} // namespace

int toHostTransferMode(BlendMode mode) {
    for (const ModePair& pair : kModes)
        if (pair.framework == mode) return pair.host;
    return kHostNormal;
}

BlendMode fromHostTransferMode(int hostMode) {
    for (const ModePair& pair : kModes)
        if (pair.host == hostMode) return static_cast<BlendMode>(pair.framework);
    return BlendNormal;
}

} // namespace Orvane
