// The blend-mode table read in both directions.
#include "framework/BlendMode.h"

#include <gtest/gtest.h>

#include <utility>

using namespace Orvane;

namespace {

// Framework code -> host transfer mode, written out from the table the framework documents.
const std::pair<int, int> kPairs[] = {
    {-1, -1}, {1, 3},   {2, 4},   {3, 5},   {4, 6},   {5, 7},   {6, 8},   {7, 9},   {8, 27},  {9, 28},
    {10, 10}, {11, 11}, {12, 26}, {13, 25}, {14, 13}, {15, 14}, {16, 16}, {17, 22}, {18, 30}, {19, 24},
    {20, 29}, {21, 23}, {22, 31}, {23, 32}, {24, 33}, {25, 34}, {26, 12}, {27, 15},
};

TEST(BlendMode, EveryPairTranslatesBothWaysAndTheDirectionsAreInverse) {
    for (const auto& [framework, host] : kPairs) {
        EXPECT_EQ(toHostTransferMode(static_cast<BlendMode>(framework)), host) << "framework " << framework;
        EXPECT_EQ(fromHostTransferMode(host), framework) << "host " << host;
        EXPECT_EQ(fromHostTransferMode(toHostTransferMode(static_cast<BlendMode>(framework))), framework);
    }
}

TEST(BlendMode, NormalAndUnknownCodesBecomeTheHostsNormalMode) {
    EXPECT_EQ(toHostTransferMode(BlendNormal), 2);
    for (int code : {-2, 28, 29, 100, -1000, 2147483647})
        EXPECT_EQ(toHostTransferMode(static_cast<BlendMode>(code)), 2) << code;
}

TEST(BlendMode, HostNormalAndUnknownModesBecomeNormal) {
    EXPECT_EQ(fromHostTransferMode(2), BlendNormal);
    for (int mode : {0, 1, 17, 18, 19, 20, 21, 35, -2, 99}) EXPECT_EQ(fromHostTransferMode(mode), BlendNormal) << mode;
}

} // namespace
