// The module reader on the real Windows module: the registration resource holds exactly the expected bytes,
// the version resource says what the effect's identity says, the module exports only its entry point, and
// it needs no library beyond Windows' own.
#include "ExpectedPipl.h"
#include "WindowsModule.h"

#include "entry/EffectIdentity.h"
#include "host/pe/ModuleRegistration.h"
#include "host/pe/VersionInfo.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

using namespace OrvaneHost::Pe;
using OrvaneTest::windowsModuleBytes;

ModuleRegistration readRealModule() { return readModuleRegistration(Image(windowsModuleBytes())); }

TEST(WindowsModule, IsA64BitModuleForX8664) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const Image image(windowsModuleBytes());
    EXPECT_EQ(image.machine(), 0x8664);
    EXPECT_TRUE(image.directory(Directory::Resource).present());
    EXPECT_TRUE(image.directory(Directory::Export).present());
}

TEST(WindowsModule, HoldsTheRegistrationResourceByteForByte) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const Image image(windowsModuleBytes());
    const auto resources = listResources(image);
    const auto pipl = std::count_if(resources.begin(), resources.end(),
                                    [](const Resource& r) { return !r.type.isNumber && r.type.text == "PIPL"; });
    EXPECT_EQ(pipl, 1);
    const ModuleRegistration m = readRealModule();
    ASSERT_TRUE(m.resource.name.isNumber);
    EXPECT_EQ(m.resource.name.number, 16000);
    EXPECT_EQ(m.resource.language, 1033);
    EXPECT_EQ(m.bytes, OrvaneTest::expectedPiplBytes());
}

TEST(WindowsModule, RegistrationReadsAsTheEffect) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const ModuleRegistration m = readRealModule();
    EXPECT_EQ(m.properties.properties.size(), 12u);
    EXPECT_EQ(m.properties.end, 306u);
    const Registration& r = m.registration;
    EXPECT_EQ(r.kind, "eFKT");
    EXPECT_EQ(r.name, "OrvaneVelmorathquist");
    EXPECT_EQ(r.category, "Orvane");
    EXPECT_EQ(r.matchName, "OrvaneVelmorathquist");
    EXPECT_EQ(r.entryPoint, "EntryPointFunc");
    ASSERT_TRUE(r.version && r.outFlags && r.outFlags2 && r.infoFlags && r.propertyListVersion && r.interfaceVersion);
    EXPECT_EQ(*r.version, 0x00080601u);
    EXPECT_EQ(*r.outFlags, 0x06000000u);
    EXPECT_EQ(*r.outFlags2, 0x00001400u);
    EXPECT_EQ(*r.infoFlags, 0);
    EXPECT_EQ(r.propertyListVersion->major, 2);
    EXPECT_EQ(r.propertyListVersion->minor, 0);
    EXPECT_EQ(r.interfaceVersion->major, 13);
    EXPECT_EQ(r.interfaceVersion->minor, 1);
    const UnpackedVersion v = unpackVersion(*r.version);
    EXPECT_EQ(v.major, 1u);
    EXPECT_EQ(v.minor, 0u);
    EXPECT_EQ(v.bugfix, 0u);
    EXPECT_EQ(v.stage, 3u);
    EXPECT_EQ(v.build, 1u);
}

TEST(WindowsModule, CarriesTheVersionOfTheIdentity) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const Image image(windowsModuleBytes());
    const auto version = readModuleVersion(image);
    ASSERT_TRUE(version) << "the module has no version resource";
    EXPECT_TRUE(version->resource.name.isNumber && version->resource.name.number == 1);
    EXPECT_EQ(version->resource.language, 1033);
    const VersionInfo& v = version->info;

    // Windows' four numbers are the effect's major, minor, fix and build; a release sets no pre-release flag.
    const Orvane::PluginVersion& id = Orvane::kPluginVersion;
    const auto part = [](A_long value) { return static_cast<std::uint16_t>(value); };
    const std::array<std::uint16_t, 4> expected = {part(id.major), part(id.minor), part(id.bugfix), part(id.build)};
    EXPECT_EQ(v.fileVersion, expected);
    EXPECT_EQ(v.productVersion, expected);
    EXPECT_EQ(dottedVersion(v.fileVersion), "1.0.0.1");
    EXPECT_EQ(v.flags & v.flagsMask, 0u);
    EXPECT_EQ(v.fileType, 2u) << "a dynamic library";
    EXPECT_EQ(v.os, 0x00040004u) << "for Windows NT";

    // The same version, name and file name as the registration and the export table read from the same file.
    const ModuleRegistration m = readRealModule();
    ASSERT_TRUE(m.registration.version);
    const UnpackedVersion registered = unpackVersion(*m.registration.version);
    EXPECT_EQ(v.fileVersion[0], registered.major);
    EXPECT_EQ(v.fileVersion[1], registered.minor);
    EXPECT_EQ(v.fileVersion[2], registered.bugfix);
    EXPECT_EQ(v.fileVersion[3], registered.build);
    EXPECT_EQ(v.text("ProductVersion"), std::to_string(registered.major) + "." + std::to_string(registered.minor) +
                                             "." + std::to_string(registered.bugfix));
    EXPECT_EQ(v.text("FileVersion"), "1.0.0.1");
    EXPECT_EQ(v.text("ProductName"), m.registration.name);
    EXPECT_EQ(v.text("InternalName"), m.registration.name);
    EXPECT_EQ(v.text("OriginalFilename"), m.exports.moduleName);
    EXPECT_EQ(v.text("OriginalFilename"), Orvane::kModuleFileName);
    EXPECT_EQ(v.text("CompanyName"), Orvane::kCompanyName);
    EXPECT_EQ(v.text("FileDescription"), Orvane::kFileDescription);
    EXPECT_EQ(v.text("LegalCopyright"), Orvane::kRightsLine);

    ASSERT_EQ(v.stringTables.size(), 1u);
    EXPECT_EQ(v.stringTables[0].key, "040904B0") << "US English, UTF-16";
    ASSERT_EQ(v.translations.size(), 1u);
    EXPECT_EQ(v.translations[0].language, 0x0409);
    EXPECT_EQ(v.translations[0].codePage, 1200);
}

TEST(WindowsModule, ExportsOnlyEntryPointFuncAtOrdinalOne) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const ExportTable table = readExports(Image(windowsModuleBytes()));
    EXPECT_EQ(table.moduleName, "OrvaneVelmorathquist.aex");
    ASSERT_EQ(table.exports.size(), 1u);
    EXPECT_EQ(table.exports[0].ordinal, 1u);
    EXPECT_EQ(table.exports[0].name, "EntryPointFunc");
    EXPECT_TRUE(table.exports[0].forwarder.empty());
    EXPECT_NE(table.exports[0].rva, 0u);
}

TEST(WindowsModule, ImportsNothingBeyondWindowsOwnLibraries) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const std::set<std::string> windowsOwn = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll",
                                              "ntdll.dll"};
    const auto imports = readImportedLibraries(Image(windowsModuleBytes()));
    EXPECT_FALSE(imports.empty());
    for (std::string library : imports) {
        std::transform(library.begin(), library.end(), library.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_TRUE(windowsOwn.count(library)) << library << " is not a library Windows ships";
    }
}

TEST(WindowsModule, DeclaredEntryPointIsReadFromTheFile) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    EXPECT_EQ(declaredEntryPoint(OrvaneTest::windowsModulePath()), "EntryPointFunc");
}

} // namespace
