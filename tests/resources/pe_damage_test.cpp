// The module reader on deliberately damaged copies of the real Windows module: truncated files, offsets and
// counts that point outside the file, and property lengths or version blocks that overrun their resource.
// Each is reported as a FormatError naming the fault; none may crash or read outside the file (the
// sanitizer builds check that).
#include "DamagedModule.h"

#include "host/pe/VersionInfo.h"

#include <string>

namespace {

using namespace OrvaneTest;
using OrvaneHost::Pe::FormatError;

// Refused as malformed, with a message that mentions `expected`.
template <class Read> ::testing::AssertionResult refused(Read read, const std::string& expected) {
    try {
        read();
    } catch (const FormatError& e) {
        if (std::string(e.what()).find(expected) != std::string::npos) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message \"" << e.what() << "\" does not mention \"" << expected << "\"";
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "not a FormatError: " << e.what();
    }
    return ::testing::AssertionFailure() << "the damaged bytes were read without complaint";
}

// Either read cleanly or refused as malformed; any other outcome is a fault of the reader.
template <class Read> ::testing::AssertionResult readOrRefused(Read read) {
    try {
        read();
    } catch (const FormatError&) {
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "not a FormatError: " << e.what();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult malformed(Bytes b, const std::string& expected) {
    return refused([&] { readAll(std::move(b)); }, expected);
}
::testing::AssertionResult readOrRefused(Bytes b) {
    return readOrRefused([&] { readAll(std::move(b)); });
}
::testing::AssertionResult versionMalformed(const Bytes& b, const std::string& expected) {
    return refused([&] { OrvaneHost::Pe::parseVersionInfo(b.data(), b.size()); }, expected);
}
::testing::AssertionResult versionReadOrRefused(const Bytes& b) {
    return readOrRefused([&] { OrvaneHost::Pe::parseVersionInfo(b.data(), b.size()); });
}

class DamagedModule : public ::testing::Test {
protected:
    void SetUp() override {
        ORVANE_REQUIRE_WINDOWS_MODULE();
        original = windowsModuleBytes();
        layout = layoutOf(original);
        ASSERT_LT(layout.pipl, original.size()) << "the registration bytes are not in the module";
        resources = fileOffset(original, read32(original, layout.directory(2)));
        exports = fileOffset(original, read32(original, layout.directory(0)));
        imports = fileOffset(original, read32(original, layout.directory(1)));
        const auto version = OrvaneHost::Pe::readModuleVersion(OrvaneHost::Pe::Image(original));
        ASSERT_TRUE(version) << "the module has no version resource";
        ASSERT_EQ(fileOffset(original, version->resource.dataRva), layout.version);
        versionBytes.assign(original.begin() + static_cast<std::ptrdiff_t>(layout.version),
                            original.begin() + static_cast<std::ptrdiff_t>(layout.version + version->resource.size));
    }
    Bytes original;
    Layout layout;
    std::size_t resources = 0, exports = 0, imports = 0;
    Bytes versionBytes; // the version resource's data, as the module holds it
};

TEST_F(DamagedModule, TheUndamagedCopyReads) { EXPECT_NO_THROW(readAll(original)); }

TEST_F(DamagedModule, TruncatedInsideTheResourceIsRefused) {
    for (std::size_t size = layout.pipl; size < layout.pipl + kExpectedPiplSize; ++size)
        ASSERT_TRUE(malformed(Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size)), ""))
            << "truncated to " << size;
}

TEST_F(DamagedModule, TheCompactCopyReadsAsTheOriginal) {
    const Bytes compact = compactModule(original);
    EXPECT_LT(compact.size(), 16384u);
    const auto a = readAll(original), b = readAll(compact);
    EXPECT_EQ(b.bytes, a.bytes);
    EXPECT_EQ(b.imports, a.imports);
    ASSERT_EQ(b.exports.exports.size(), 1u);
    EXPECT_EQ(b.exports.exports[0].name, "EntryPointFunc");
}

TEST_F(DamagedModule, TruncatedAtAnyLengthNeverReadsPastTheEnd) {
    const Bytes compact = compactModule(original);
    for (std::size_t size = 0; size < compact.size(); ++size)
        ASSERT_TRUE(malformed(Bytes(compact.begin(), compact.begin() + static_cast<std::ptrdiff_t>(size)), ""))
            << "truncated to " << size;
}

TEST_F(DamagedModule, HeaderFaultsAreNamed) {
    EXPECT_TRUE(malformed(with16(original, 0, 0x4142), "no MZ signature"));
    EXPECT_TRUE(malformed(with32(original, 0x3C, 0xFFFFFFF0), "PE header"));
    EXPECT_TRUE(malformed(with32(original, layout.pe, 0x00004551), "no PE signature"));
    EXPECT_TRUE(malformed(with16(original, layout.coff + 2, 0), "no sections"));
    EXPECT_TRUE(malformed(with16(original, layout.coff + 2, 0xFFFF), "at most 96"));
    EXPECT_TRUE(malformed(with16(original, layout.coff + 16, 0), "optional header of 0 bytes"));
    EXPECT_TRUE(malformed(with16(original, layout.coff + 16, 100), "too short for PE32+"));
    EXPECT_TRUE(malformed(with16(original, layout.optional, 0x10B), "32-bit"));
    EXPECT_TRUE(malformed(with16(original, layout.optional, 0x1234), "magic"));
    EXPECT_TRUE(malformed(with32(original, layout.optional + 108, 17), "at most 16"));
    EXPECT_TRUE(malformed(with32(original, layout.optional + 108, 0), "no \"PIPL\" resource"));
}

TEST_F(DamagedModule, SectionDataBeyondTheFileIsNamed) {
    const std::size_t table = layout.optional + (original[layout.coff + 16] | original[layout.coff + 17] << 8);
    EXPECT_TRUE(malformed(with32(original, table + 20, 0xFFFFFF00), "data of section"));
    EXPECT_TRUE(malformed(with32(original, table + 16, 0x7FFFFFFF), "data of section"));
}

TEST_F(DamagedModule, ResourceDirectoryFaultsAreNamed) {
    EXPECT_TRUE(malformed(with32(original, layout.directory(2), 0x7FFFFFF0), "not inside any section"));
    EXPECT_TRUE(malformed(with32(original, layout.directory(2) + 4, 0xFFFFFFFF), "runs past the end of section"));
    EXPECT_TRUE(malformed(with32(original, layout.directory(2) + 4, 8), "resource type directory"));
    EXPECT_TRUE(malformed(with16(original, resources + 14, 0xFFFF), "resource type directory"));

    // The one type entry ("PIPL"), its name directory and its language directory, followed through the file.
    const std::uint32_t nameDir = read32(original, resources + 20) & 0x7FFFFFFF;
    const std::uint32_t languageDir = read32(original, resources + nameDir + 20) & 0x7FFFFFFF;
    const std::uint32_t dataEntry = read32(original, resources + languageDir + 20);
    EXPECT_TRUE(malformed(with32(original, resources + 16, 0x8000FFF0), "resource name length"));
    EXPECT_TRUE(malformed(with32(original, resources + 20, nameDir), "points at data instead of a directory"));
    EXPECT_TRUE(malformed(with32(original, resources + 20, 0x80FFFFF0), "resource name directory"));
    // A language entry leading back to the root: a cycle the reader must not follow.
    EXPECT_TRUE(malformed(with32(original, resources + languageDir + 20, 0x80000000),
                          "points at a directory instead of data"));
    EXPECT_TRUE(malformed(with32(original, resources + languageDir + 20, 0x7FFFFFF0), "resource data entry"));
    EXPECT_TRUE(malformed(with32(original, resources + dataEntry, 0x7FFFFFF0), "data of resource \"PIPL\" 16000"));
    EXPECT_TRUE(malformed(with32(original, resources + dataEntry + 4, 0x7FFFFFFF), "runs past the end of section"));
    // The resource cut two bytes short, with the last property shortened to fit: its padding overruns.
    EXPECT_TRUE(malformed(with32(with32(original, resources + dataEntry + 4, 304), layout.pipl + 286 + 12, 2),
                          "('aeFL') with its padding"));
}

TEST_F(DamagedModule, ExportAndImportFaultsAreNamed) {
    EXPECT_TRUE(malformed(with32(original, exports + 24, 2), "names 2 exports but holds only 1"));
    EXPECT_TRUE(malformed(with32(original, exports + 20, 0xFFFFFFFF), "more than a module can hold"));
    EXPECT_TRUE(malformed(with32(original, exports + 20, 60000), "export address table"));
    EXPECT_TRUE(malformed(with32(original, exports + 32, 0x7FFFFFF0), "export name table"));
    EXPECT_TRUE(malformed(with32(original, exports + 12, 0x7FFFFFF0), "export module name"));
    const std::size_t ordinals = fileOffset(original, read32(original, exports + 36));
    EXPECT_TRUE(malformed(with16(original, ordinals, 5), "refers to export 5 of 1"));
    EXPECT_TRUE(malformed(with32(original, imports + 12, 0x7FFFFFF0), "imported library name"));
    EXPECT_TRUE(malformed(with32(original, layout.directory(1), 0x7FFFFFF0), "import descriptor 0"));
}

TEST_F(DamagedModule, PropertyListFaultsAreNamed) {
    const std::size_t p = layout.pipl;
    EXPECT_TRUE(malformed(with16(original, p, 2), "only version 1"));
    EXPECT_TRUE(malformed(with32(original, p + 6, 13), "property 13 of 13"));
    EXPECT_TRUE(malformed(with32(original, p + 6, 0xFFFFFFFF), "lies outside the PIPL resource"));
    EXPECT_TRUE(malformed(with32(original, p + 30 + 12, 0x1000), "property 2 of 12 ('name', 4096 bytes)"));
    EXPECT_TRUE(malformed(with32(original, p + 286 + 12, 0xFFFFFFF0), "property 12 of 12"));
    EXPECT_TRUE(malformed(with32(original, p + 186 + 12, 3), "'eINF' holds 3 bytes instead of 2"));
    EXPECT_TRUE(malformed(with32(original, p + 166 + 12, 2), ""));
    Bytes longName = original;
    longName[p + 30 + 16] = 200;
    EXPECT_TRUE(malformed(longName, "declares a string of 200 characters in 23 bytes"));
    Bytes unterminated = original;
    unterminated[p + 94 + 16 + 14] = 'x';
    unterminated[p + 94 + 16 + 15] = 'y';
    EXPECT_TRUE(malformed(unterminated, "without a terminating zero"));
}

TEST_F(DamagedModule, AnyByteChangedIsReadOrRefused) {
    const Bytes compact = compactModule(original);
    for (std::size_t at = 0; at < compact.size(); ++at) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t(compact[at] ^ 0x80)}) {
            Bytes b = compact;
            b[at] = value;
            ASSERT_TRUE(readOrRefused(std::move(b))) << "byte " << at << " set to " << int{value};
        }
    }
}

// Where a block with this key starts in the version resource: six bytes before its UTF-16 key.
std::size_t versionBlock(const Bytes& b, const std::string& key) {
    Bytes utf16;
    for (const char c : key) utf16.insert(utf16.end(), {static_cast<std::uint8_t>(c), 0});
    return static_cast<std::size_t>(std::search(b.begin(), b.end(), utf16.begin(), utf16.end()) - b.begin()) - 6;
}

TEST_F(DamagedModule, VersionResourceFaultsAreNamed) {
    const Bytes& v = versionBytes;
    ASSERT_NO_THROW(OrvaneHost::Pe::parseVersionInfo(v.data(), v.size()));
    EXPECT_TRUE(versionMalformed(with16(v, 0, 4), "version block of 4 bytes at offset 0x0 is shorter than its header"));
    EXPECT_TRUE(versionMalformed(with16(v, 0, static_cast<std::uint16_t>(v.size() + 4)),
                                 "runs past the block that holds it"));
    EXPECT_TRUE(versionMalformed(with16(v, 0, 20), "key at offset 0x0 has no terminating zero"));
    EXPECT_TRUE(versionMalformed(with16(v, 2, 50), "holds 50 bytes instead of 52"));
    EXPECT_TRUE(versionMalformed(with16(v, 4, 7), "value type 7"));
    EXPECT_TRUE(versionMalformed(with16(v, 6, 'X'), "starts with the block \"XS_VERSION_INFO\""));
    EXPECT_TRUE(versionMalformed(with32(v, 40, 0), "does not carry its signature"));
    const std::size_t strings = versionBlock(v, "StringFileInfo");
    EXPECT_TRUE(versionMalformed(with16(v, strings, 0xFFF0), "version block of 65520 bytes"));
    const std::size_t translation = versionBlock(v, "Translation");
    EXPECT_TRUE(versionMalformed(with16(v, translation + 2, 0x400), "\"Translation\" holds a value of 1024 bytes"));
    EXPECT_TRUE(versionMalformed(Bytes(v.begin(), v.end() - 1), "runs past the block that holds it"));
}

TEST_F(DamagedModule, AnyChangeToTheVersionResourceIsReadOrRefused) {
    const Bytes& v = versionBytes;
    for (std::size_t size = 0; size < v.size(); ++size)
        ASSERT_TRUE(versionMalformed(Bytes(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(size)), ""))
            << "truncated to " << size;
    for (std::size_t at = 0; at < v.size(); ++at) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t(v[at] ^ 0x80)}) {
            Bytes b = v;
            b[at] = value;
            ASSERT_TRUE(versionReadOrRefused(b)) << "byte " << at << " set to " << int{value};
        }
    }
}

} // namespace
