// The module reader on the real Windows module: the registration resource holds exactly the expected bytes,
// the module exports only its entry point, and it needs no library beyond Windows' own.
#include "ExpectedPipl.h"
#include "WindowsModule.h"

#include "host/pe/ModuleRegistration.h"

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
