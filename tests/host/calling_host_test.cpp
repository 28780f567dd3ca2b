// How the effect's calls reach their host: through the thread the host lent the effect, one host per thread,
// with every failure inside the host turned into an answer the call can give, and a recorder only on request.
#include "support/ModuleHost.h"

#include "entry/EntryPoint.h"
#include "host/CallingHost.h"
#include "host/ServeCall.h"

#include <stdexcept>
#include <thread>

using namespace OrvaneHost;

namespace {

TEST(CallingHost, ACallFromAThreadNoHostLentReachesNoHost) {
    Host host{&EntryPointFunc, Recording::On};
    SPErr answer = 0;
    const void* suite = &host;
    std::thread([&] { answer = host.basicSuite()->AcquireSuite("PF Handle Suite", 2, &suite); }).join();
    EXPECT_EQ(answer, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.calls().count(), 0u);
    EXPECT_EQ(host.acquisitions("PF Handle Suite", 2), 0u);
}

TEST(CallingHost, EachThreadReachesTheHostThatLentItAndNestingRestoresTheOuterOne) {
    Host first{&EntryPointFunc}, second{&EntryPointFunc};
    CallingHost outer(first);
    {
        CallingHost inner(second);
        EXPECT_EQ(CallingHost::current(), &second);
        std::thread([&] { EXPECT_EQ(CallingHost::current(), nullptr) << "lent to this thread only"; }).join();
    }
    EXPECT_EQ(CallingHost::current(), &first);
}

// Whatever is thrown inside the host becomes an answer of the call's own type, and never reaches the effect.
TEST(ServeCall, WhatIsThrownInsideTheHostBecomesTheCallsFailure) {
    Host host{&EntryPointFunc};
    CallingHost serving(host);
    EXPECT_EQ(serveCall([](Host&) -> PF_Err { throw std::bad_alloc(); }), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(serveCall([](Host&) -> PF_Handle { throw std::bad_alloc(); }), nullptr);
    EXPECT_TRUE(host.books().errors().empty()) << "memory running out is no fault of the host's";
    EXPECT_EQ(serveCall([](Host&) -> A_Err { throw std::logic_error("a host fault"); }), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host.books().errors().size(), 1u);
    EXPECT_EQ(serveCall([](Host& served) { return &served; }), &host);
}

TEST(Recorder, ARunningHostRecordsNothingAndFailsNothing) {
    Host host{&EntryPointFunc};
    EXPECT_EQ(host.recorder(), nullptr);
    EXPECT_THROW(host.calls(), std::logic_error);
    EXPECT_EQ(host.about(), PF_Err_NONE);
}

} // namespace
