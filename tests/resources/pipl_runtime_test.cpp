// What the registration declares is what the running module reports: version and flags from global
// setup, the name from About, and an entry point that the module really exports under that name.
#include "support/ModuleHost.h"

#include "host/pe/ModuleRegistration.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using namespace OrvaneHost::Pe;

// The registration a host reads: from the module file itself when it is a Windows module, else from the
// bytes the build embeds in the Windows module.
Registration declared() {
    const std::string module = ORVANE_MODULE_PATH;
    if (module.size() > 4 && module.compare(module.size() - 4, 4, ".aex") == 0)
        return readModuleRegistration(module).registration;
    std::ifstream in(ORVANE_PIPL_FILE, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return readRegistration(parsePropertyList(bytes.data(), bytes.size()));
}

TEST(RegistrationAtRunTime, GlobalSetupReportsTheDeclaredVersionAndFlags) {
    const Registration reg = declared();
    ASSERT_TRUE(reg.version && reg.outFlags && reg.outFlags2);
    auto host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(host->globalSetup(), PF_Err_NONE);
    EXPECT_EQ(host->outData().my_version, *reg.version);
    EXPECT_EQ(static_cast<std::uint32_t>(host->outData().out_flags), *reg.outFlags);
    EXPECT_EQ(static_cast<std::uint32_t>(host->outData().out_flags2), *reg.outFlags2);
    EXPECT_EQ(host->globalSetdown(), PF_Err_NONE);
    EXPECT_TRUE(OrvaneTest::booksAreClean(*host));
}

TEST(RegistrationAtRunTime, AboutShowsTheDeclaredNameAndVersion) {
    const Registration reg = declared();
    ASSERT_TRUE(reg.version);
    const UnpackedVersion v = unpackVersion(*reg.version);
    auto host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(host->about(), PF_Err_NONE);
    const std::string expected = reg.name + ", v" + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                                 std::to_string(v.bugfix) + "\r";
    EXPECT_EQ(std::string(host->outData().return_msg).substr(0, expected.size()), expected);
    EXPECT_EQ(reg.name, "OrvaneVelmorathquist");
    EXPECT_EQ(reg.matchName, reg.name);
}

TEST(RegistrationAtRunTime, TheDeclaredEntryPointIsExportedUnderThatName) {
    const Registration reg = declared();
    EXPECT_EQ(reg.entryPoint, "EntryPointFunc");
    OrvaneHost::Module module(ORVANE_MODULE_PATH, reg.entryPoint);
    ASSERT_NE(module.entryPoint(), nullptr);
    OrvaneHost::Host host(module.entryPoint());
    EXPECT_EQ(host.about(), PF_Err_NONE);
}

} // namespace
