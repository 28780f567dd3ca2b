// The non-throwing single-suite pair and what it reports to the user.
#include "support/FrameworkFixture.h"

#include "suites/ScopedSuite.h"

using namespace OrvaneHost;

namespace {

struct ScopedSuiteTest : OrvaneTest::FrameworkFixture {
    const int table = 0;

    void SetUp() override {
        host.serveSuite("PF World Suite", 2, &table);
        FrameworkFixture::SetUp();
    }
};

TEST_F(ScopedSuiteTest, AcquiresAndReleasesUnderTheSameNameAndVersion) {
    void* suite = nullptr;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, "Couldn't load suite.", &suite), PF_Err_NONE);
    EXPECT_EQ(suite, &table);
    EXPECT_EQ(AEFX_ReleaseSuite(&in, &out, "PF World Suite", 2, "Couldn't release suite."), PF_Err_NONE);
    EXPECT_TRUE(host.unbalancedSuites().empty());
    EXPECT_EQ(out.out_flags, 0);
}

TEST_F(ScopedSuiteTest, OnlyThePointerCountsNotTheErrorCode) {
    // Refused with an error: no pointer, so a failure with the message.
    host.calls().addRule({"AcquireSuite", "", 1, false, {FaultMode::Error, 9}});
    void* suite = nullptr;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, "Couldn't load suite.", &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite, nullptr);
    EXPECT_STREQ(out.return_msg, "Couldn't load suite.");
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
}

TEST_F(ScopedSuiteTest, AnErrorWithAPointerStillSucceeds) {
    SPBasicSuite lying{[](const char*, A_long, const void** suite) -> SPErr {
                           static const int any = 0;
                           *suite = &any;
                           return 42;
                       },
                       [](const char*, A_long) -> SPErr { return 42; }};
    in.pica_basicP = &lying;
    void* suite = nullptr;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, nullptr, &suite), PF_Err_NONE);
    EXPECT_NE(suite, nullptr);
    EXPECT_EQ(AEFX_ReleaseSuite(&in, &out, "PF World Suite", 2, nullptr), PF_Err_NONE);
    EXPECT_EQ(out.out_flags, 0);
}

TEST_F(ScopedSuiteTest, WithoutABasicSuiteBothReportTheCallersMessages) {
    in.pica_basicP = nullptr;
    out.out_flags = PF_OutFlag_DEEP_COLOR_AWARE;
    void* suite = nullptr;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, "Couldn't load suite.", &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite, nullptr);
    EXPECT_EQ(out.out_flags, PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_STREQ(out.return_msg, "Couldn't load suite.");
    EXPECT_EQ(AEFX_ReleaseSuite(&in, &out, "PF World Suite", 2, "Couldn't release suite."),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, "Couldn't release suite.");
}

TEST_F(ScopedSuiteTest, WithoutAMessageTheDefaultsAreWritten) {
    in.pica_basicP = nullptr;
    void* suite = nullptr;
    AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, nullptr, &suite);
    EXPECT_STREQ(out.return_msg, "Not able to acquire AEFX Suite.");
    AEFX_ReleaseSuite(&in, &out, "PF World Suite", 2, nullptr);
    EXPECT_STREQ(out.return_msg, "Not able to release AEFX Suite.");
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
}

} // namespace
