// `orvane-render inspect`: what it prints for the real Windows module, and how it reports a module that is
// malformed or that a host could not load.
#include "DamagedModule.h"

#include "renderer/Inspect.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using namespace OrvaneTest;

struct Outcome {
    int code;
    std::string out, err;
};

Outcome inspect(const std::string& path) {
    std::ostringstream out, err;
    const int code = OrvaneTools::runInspect(path, out, err);
    return {code, out.str(), err.str()};
}

// A damaged copy written to a file of its own, removed when the test ends.
class ModuleFile {
public:
    ModuleFile(const Bytes& bytes, const std::string& name) : path(::testing::TempDir() + name) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    ~ModuleFile() { std::remove(path.c_str()); }
    const std::string path;
};

TEST(Inspect, PrintsTheRegistrationOfTheRealModule) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const Outcome r = inspect(windowsModulePath());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* line : {
             "registration: resource \"PIPL\" 16000, language 1033, 306 bytes, 12 properties\n",
             "  kind          eFKT (effect)\n",
             "  name          OrvaneVelmorathquist\n",
             "  category      Orvane\n",
             "  match name    OrvaneVelmorathquist\n",
             "  entry point   EntryPointFunc\n",
             "  version       1.0.0 (stage 3, build 1)  [0x00080601]\n",
             "  out flags     0x06000000  PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI\n",
             "  out flags 2   0x00001400  PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE\n",
             "exports of OrvaneVelmorathquist.aex: 1\n",
             "  ordinal 1  EntryPointFunc  at 0x",
             "imports: KERNEL32.dll msvcrt.dll\n",
             "version resource: 16 1, language 1033, ",
             "  file version     1.0.0.1\n",
             "  product version  1.0.0.1\n",
             "  flags            0x00000000  none\n",
             "  file type        0x00000002 dynamic library, system 0x00040004 Windows NT\n",
             "  texts 040904B0\n",
             "    CompanyName       Orvane\n",
             "    FileDescription   OrvaneVelmorathquist colour ramp effect\n",
             "    FileVersion       1.0.0.1\n",
             "    LegalCopyright    Copyright 2026 Orvane. All rights reserved.\n",
             "    OriginalFilename  OrvaneVelmorathquist.aex\n",
             "    ProductName       OrvaneVelmorathquist\n",
             "    ProductVersion    1.0.0\n",
             "  translations     language 0x0409 code page 1200\n",
         })
        EXPECT_NE(r.out.find(line), std::string::npos) << "missing: " << line << "in:\n" << r.out;
}

// Exit code 3: the module cannot be used.
constexpr int kUnusable = 3;

// Inspecting `path` prints nothing and fails with exit code 3 and `reason`.
::testing::AssertionResult refusedWithoutOutput(const std::string& path, const std::string& reason) {
    const Outcome r = inspect(path);
    if (r.code == kUnusable && r.out.empty() && r.err.find(reason) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "exit code " << r.code << " (expected 3, \"" << reason
                                         << "\" and nothing printed); printed:\n" << r.out << "errors:\n" << r.err;
}

// Only a regular file is read: a folder (or a pipe, or a device) is refused as what it is.
TEST(Inspect, AMissingFileOrAFolderIsReportedWithoutOutput) {
    EXPECT_TRUE(refusedWithoutOutput(::testing::TempDir() + "no-such-module.aex", "no-such-module.aex does not exist"));
    EXPECT_TRUE(refusedWithoutOutput(::testing::TempDir(), "is a folder, not a file"));
}

TEST(Inspect, AMalformedModuleIsReportedWithItsFault) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const Bytes& original = windowsModuleBytes();
    const ModuleFile truncated(Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(original.size() / 2)), "truncated.aex");
    EXPECT_TRUE(refusedWithoutOutput(truncated.path, "is malformed: data of section"));
    const ModuleFile overrun(with32(original, layoutOf(original).pipl + 30 + 12, 0x1000), "overrun.aex");
    EXPECT_TRUE(refusedWithoutOutput(overrun.path, "is malformed: property 2 of 12 ('name', 4096 bytes)"));
}

TEST(Inspect, AMalformedVersionResourceFailsTheInspectionAfterTheRegistration) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    const Bytes& original = windowsModuleBytes();
    const ModuleFile file(with16(original, layoutOf(original).version + 2, 50), "version.aex");
    const Outcome r = inspect(file.path);
    EXPECT_EQ(r.code, kUnusable);
    EXPECT_NE(r.out.find("  entry point   EntryPointFunc\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("version resource:"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("the version resource is malformed: the fixed version information holds 50 bytes"),
              std::string::npos)
        << r.err;
}

TEST(Inspect, AnEntryPointThatIsNotExportedFailsTheInspection) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    Bytes renamed = windowsModuleBytes();
    renamed[layoutOf(renamed).pipl + 94 + 16 + 13] = 'X'; // "EntryPointFunX"
    const ModuleFile file(renamed, "renamed.aex");
    const Outcome r = inspect(file.path);
    EXPECT_EQ(r.code, kUnusable);
    EXPECT_NE(r.out.find("  entry point   EntryPointFunX\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("the declared entry point EntryPointFunX is not exported"), std::string::npos) << r.err;
}

TEST(Inspect, ControlCharactersFromTheFileAreEscaped) {
    ORVANE_REQUIRE_WINDOWS_MODULE();
    Bytes bell = windowsModuleBytes();
    bell[layoutOf(bell).pipl + 70 + 17] = 0x1B; // "Orvane" becomes ESC "rvane"
    const ModuleFile file(bell, "escape.aex");
    const Outcome r = inspect(file.path);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("  category      \\x1Brvane\n"), std::string::npos) << r.out;
}

} // namespace
