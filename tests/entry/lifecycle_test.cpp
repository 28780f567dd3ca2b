// About, global setup and global setdown through the loaded module, including every host failure.
#include "support/FaultSweep.h"
#include "support/ModuleHost.h"

#include <cstring>

using namespace OrvaneHost;
using OrvaneTest::booksAreClean;

namespace {

TEST(About, WritesNameVersionAndRightsLine) {
    auto host = OrvaneTest::loadModuleHost();
    EXPECT_EQ(host->about(), PF_Err_NONE);
    EXPECT_STREQ(host->outData().return_msg,
                 "OrvaneVelmorathquist, v1.0.0\rCopyright 2026 Orvane. All rights reserved.");
    EXPECT_EQ(host->calls().countOf("AcquireSuite"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST(GlobalSetup, StoresAnUnlockedFourByteHandleHoldingThePluginId) {
    auto host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(host->globalSetup(), PF_Err_NONE);
    const PF_OutData& out = host->outData();
    EXPECT_EQ(out.my_version, 0x00080601u);
    EXPECT_EQ(out.out_flags, 0x06000000);
    EXPECT_EQ(out.out_flags2, 0x00001400);
    ASSERT_NE(out.global_data, nullptr);
    EXPECT_EQ(host->handleSize(out.global_data), 4u);
    EXPECT_EQ(host->handleLockCount(out.global_data), 0);
    A_long stored = 0;
    std::memcpy(&stored, *out.global_data, 4);
    EXPECT_EQ(stored, host->pluginId());
    EXPECT_NE(host->pluginId(), 0);

    const auto records = host->calls().records();
    auto registration = std::find_if(records.begin(), records.end(),
                                     [](const CallRecord& r) { return r.name == "AEGP_RegisterWithAEGP"; });
    ASSERT_NE(registration, records.end());
    EXPECT_EQ(registration->detail, "Error!");
    EXPECT_TRUE(booksAreClean(*host));
}

TEST(GlobalSetup, OverwritesWhateverFlagsTheHostLeft) {
    auto host = OrvaneTest::loadModuleHost();
    host->outData().out_flags = -1;
    host->outData().out_flags2 = -1;
    host->outData().my_version = 0xFFFFFFFF;
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    EXPECT_EQ(host->outData().out_flags, 0x06000000);
    EXPECT_EQ(host->outData().out_flags2, 0x00001400);
    EXPECT_EQ(host->outData().my_version, 0x00080601u);
    host->inData().global_data = host->outData().global_data;
    EXPECT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
    EXPECT_EQ(host->liveHandles(), 0u);
}

TEST(GlobalSetdown, DisposesTheGlobalHandle) {
    auto host = OrvaneTest::loadModuleHost();
    ASSERT_EQ(host->globalSetup(), PF_Err_NONE);
    EXPECT_EQ(host->liveHandles(), 1u);
    EXPECT_EQ(host->globalSetdown(), PF_Err_NONE);
    EXPECT_EQ(host->liveHandles(), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST(GlobalSetdown, WithoutGlobalDataDisposesNothing) {
    auto host = OrvaneTest::loadModuleHost();
    EXPECT_EQ(host->globalSetdown(), PF_Err_NONE);
    EXPECT_EQ(host->calls().countOf("host_dispose_handle"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

// The code global setup must return when the failed call is `name`.
PF_Err expectedGlobalSetupResult(const std::string& name) {
    if (name == "AcquireSuite") return PF_Err_BAD_CALLBACK_PARAM;
    if (name == "host_new_handle") return PF_Err_INTERNAL_STRUCT_DAMAGED;
    if (name == "host_lock_handle") return PF_Err_OUT_OF_MEMORY;
    if (name == "AEGP_RegisterWithAEGP") return OrvaneTest::kInjectedError;
    return PF_Err_NONE;
}

TEST(LifecycleFaults, EveryHostFailureIsReportedAndLeavesNothingBehind) {
    std::size_t injected = 0;
    injected += OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        nullptr,
        [](Host& host) { return host.about(); },
        [](const OrvaneTest::SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE("about: " + point.call.name);
            EXPECT_EQ(result, PF_Err_NONE);
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    injected += OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        nullptr,
        [](Host& host) { return host.globalSetup(); },
        [](const OrvaneTest::SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(OrvaneTest::describe("global setup", point));
            EXPECT_EQ(result, expectedGlobalSetupResult(point.call.name));
            EXPECT_EQ(host.outData().my_version, 0x00080601u);
            EXPECT_EQ(host.outData().out_flags, 0x06000000);
            EXPECT_EQ(host.outData().out_flags2, 0x00001400);
            if (result != PF_Err_NONE) {
                EXPECT_EQ(host.outData().global_data, nullptr);
                EXPECT_EQ(host.liveHandles(), 0u) << "a handle that is not stored is disposed of";
            }
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    injected += OrvaneTest::sweepFaults({
        OrvaneTest::loadModuleHost,
        [](Host& host) { ASSERT_EQ(host.globalSetup(), PF_Err_NONE); },
        [](Host& host) { return host.globalSetdown(); },
        [](const OrvaneTest::SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE("global setdown: " + point.call.name);
            EXPECT_EQ(result, point.call.name == "AcquireSuite" ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE);
            EXPECT_TRUE(host.unbalancedSuites().empty());
            EXPECT_TRUE(host.books().errors().empty());
        },
    });
    EXPECT_GE(injected, 8u);
    std::printf("fault sweep: %zu injected failures (About, global setup, setdown)\n", injected);
}

} // namespace
