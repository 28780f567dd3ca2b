// The registration resource's bytes: as compiled into the effect and as generated for the resource
// compiler, against the layout written out by hand, plus a walk of the list as a host would read it.
#include "ExpectedPipl.h"

#include "resources/PiplResource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using OrvaneTest::expectedPiplBytes;
using OrvaneTest::expectedPiplRows;

std::vector<std::uint8_t> compiledBytes() {
    return std::vector<std::uint8_t>(Orvane::Pipl::kResource.begin(), Orvane::Pipl::kResource.end());
}

std::vector<std::uint8_t> generatedFile() {
    std::ifstream in(ORVANE_PIPL_FILE, std::ios::binary);
    EXPECT_TRUE(in) << "cannot open " << ORVANE_PIPL_FILE;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b.at(at)} | std::uint32_t{b.at(at + 1)} << 8 | std::uint32_t{b.at(at + 2)} << 16 |
           std::uint32_t{b.at(at + 3)} << 24;
}

TEST(PiplLayout, HandWrittenRowsAreContiguousAndEndAt306) {
    std::size_t at = 0;
    for (const auto& row : expectedPiplRows()) {
        EXPECT_EQ(row.offset, at) << row.what;
        at += row.bytes.size();
    }
    EXPECT_EQ(at, OrvaneTest::kExpectedPiplSize);
}

TEST(PiplLayout, CompiledResourceMatchesEveryRow) {
    const auto bytes = compiledBytes();
    ASSERT_EQ(bytes.size(), 306u);
    for (const auto& row : expectedPiplRows()) {
        const std::vector<std::uint8_t> expected(row.bytes.begin(), row.bytes.end());
        const std::vector<std::uint8_t> actual(bytes.begin() + static_cast<std::ptrdiff_t>(row.offset),
                                               bytes.begin() + static_cast<std::ptrdiff_t>(row.offset + expected.size()));
        EXPECT_EQ(actual, expected) << "property " << row.what << " at offset " << row.offset;
    }
}

TEST(PiplLayout, GeneratedFileHoldsExactlyTheExpectedBytes) {
    EXPECT_EQ(generatedFile(), expectedPiplBytes());
}

TEST(PiplLayout, ResourceIdentityIsPiplSixteenThousandUsEnglish) {
    EXPECT_STREQ(Orvane::Pipl::kResourceType, "PIPL");
    EXPECT_EQ(Orvane::Pipl::kResourceId, 16000);
    EXPECT_EQ(Orvane::Pipl::kResourceLanguage, 1033);
}

TEST(PiplWalk, HeaderCountAndRoundedLengthsLandOn306) {
    const auto bytes = compiledBytes();
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 1);
    EXPECT_EQ(le32(bytes, 2), 0u);
    const std::uint32_t count = le32(bytes, 6);
    ASSERT_EQ(count, 12u);
    std::vector<std::size_t> starts;
    std::size_t at = 10;
    for (std::uint32_t i = 0; i < count; ++i) {
        starts.push_back(at);
        EXPECT_EQ(le32(bytes, at), 0x3842494Du) << "vendor 8BIM at " << at; // 'MIB8' read little-endian
        EXPECT_EQ(le32(bytes, at + 8), 0u) << "property id at " << at;
        const std::uint32_t length = le32(bytes, at + 12);
        at += 16 + ((length + 3) / 4) * 4;
    }
    EXPECT_EQ(at, 306u);
    EXPECT_EQ(starts, (std::vector<std::size_t>{10, 30, 70, 94, 126, 146, 166, 186, 206, 226, 246, 286}));
}

TEST(PiplWalk, InfoFlagsCountTwoBytesYetOccupyTwenty) {
    const auto bytes = compiledBytes();
    EXPECT_EQ(le32(bytes, 186 + 4), 0x65494E46u); // key 'eINF' stored "FNIe"
    EXPECT_EQ(le32(bytes, 186 + 12), 2u);
    EXPECT_EQ(le32(bytes, 186 + 16), 0u); // the value and the two bytes outside its length
    EXPECT_EQ(le32(bytes, 206 + 4), 0x65474C4Fu); // the next property, 'eGLO', starts at 206
}

TEST(PiplWalk, VersionWordUnpacksToOneZeroZeroStageThreeBuildOne) {
    const std::uint32_t v = le32(compiledBytes(), 166 + 16);
    EXPECT_EQ(v, 0x00080601u);
    EXPECT_EQ((v >> 19) & 0x7, 1u);
    EXPECT_EQ((v >> 15) & 0xF, 0u);
    EXPECT_EQ((v >> 11) & 0xF, 0u);
    EXPECT_EQ((v >> 9) & 0x3, 3u);
    EXPECT_EQ(v & 0x1FF, 1u);
    EXPECT_EQ(v >> 22, 0u);
}

} // namespace
