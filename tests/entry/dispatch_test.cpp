// The entry point's command table, driven through the loaded module.
#include "support/ModuleHost.h"

#include <cstring>

using namespace OrvaneHost;

namespace {

class Dispatch : public ::testing::Test {
protected:
    std::unique_ptr<Host> host = OrvaneTest::loadModuleHost();
};

TEST_F(Dispatch, CommandsWithoutAHandlerReturnZeroAndTouchNothing) {
    std::vector<PF_Cmd> unhandled = {2, 25, 1000, -1, 0x7FFFFFFF, static_cast<PF_Cmd>(0x80000000)};
    for (PF_Cmd cmd = 5; cmd <= 12; ++cmd) unhandled.push_back(cmd);
    for (PF_Cmd cmd = 15; cmd <= 22; ++cmd) unhandled.push_back(cmd);

    for (PF_Cmd cmd : unhandled) {
        SCOPED_TRACE("cmd " + std::to_string(cmd));
        std::memset(&host->outData(), 0x5A, sizeof(PF_OutData));
        PF_OutData before = host->outData();
        host->calls().reset();
        int marker = 7;
        EXPECT_EQ(host->send(cmd, nullptr, nullptr, &marker), PF_Err_NONE);
        EXPECT_EQ(std::memcmp(&before, &host->outData(), sizeof(PF_OutData)), 0);
        EXPECT_EQ(host->calls().count(), 0u) << "no host call for a command without a handler";
        EXPECT_EQ(marker, 7);
    }
}

TEST_F(Dispatch, WithoutABasicSuiteTheLifecycleCommandsReturnBadCallbackParam) {
    host->setBasicSuiteAvailable(false);
    EXPECT_EQ(host->about(), PF_Err_NONE);
    EXPECT_EQ(host->globalSetup(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(OrvaneTest::booksAreClean(*host));
}

TEST_F(Dispatch, AThrownSuiteRefusalIsReturnedWithEarlierSuitesReleased) {
    // Global setup acquires the handle suite, then the utility suite: refuse the second.
    host->calls().addRule({"AcquireSuite", "AEGP Utility Suite 7", 0, false, {FaultMode::Error, 99}});
    EXPECT_EQ(host->globalSetup(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host->acquisitions("PF Handle Suite", 2), 1u);
    EXPECT_EQ(host->releases("PF Handle Suite", 2), 1u);
    EXPECT_TRUE(OrvaneTest::booksAreClean(*host));
}

} // namespace
