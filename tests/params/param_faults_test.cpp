// Every host call of parameter setup, UI update, Refresh and another parameter's change failed in turn, in
// every way it can fail: the handler returns the right code, sets its out flag where it should, and leaves
// nothing live.
#include "support/AppliedEffect.h"

#include "support/FaultSweep.h"

using namespace Orvane;
using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

struct SweptCommand {
    const char* name;
    void (*setUp)(Host&);
    PF_Err (*command)(Host&);
    std::size_t injected; // failures the sweep injects
    // What the command leaves besides its code and clean books.
    void (*check)(const SweepPoint&, PF_Err, Host&);
};
void PrintTo(const SweptCommand& row, std::ostream* out) { *out << row.name; }

const SweptCommand kCommands[] = {
    {"ParameterSetup", readyForParameterSetup, sendParameterSetup, 8, // eight additions, each failing one way
     [](const SweepPoint& point, PF_Err, Host& host) {
         EXPECT_EQ(point.call.name, "add_param") << "the only call that can fail";
         EXPECT_EQ(host.outData().num_params, 1);
         // Each parameter is one strcpy and one add_param: the layer and those before the failed one remain.
         EXPECT_EQ(host.streams().size(), point.occurrence / 2);
     }},
    {"UiUpdate", applied, updateParamsUi, 13, // four suites refused two ways each, five AEGP calls failed
     [](const SweepPoint& point, PF_Err result, Host& host) {
         const bool flagSet = (host.outData().out_flags & PF_OutFlag_REFRESH_UI) != 0;
         EXPECT_EQ(flagSet, result != PF_Err_BAD_CALLBACK_PARAM) << "set on every path but a thrown code";
         const bool flagChanged = point.call.name == "AEGP_DisposeStream" || point.call.name == "AEGP_DisposeEffect";
         EXPECT_EQ(host.streams()[kParamRefreshCounter].flagChanges, flagChanged ? 2 : 1);
     }},
    {"Refresh", applied, [](Host& host) { return pressButton(host, kParamRefreshButton); }, 10, // three suites, four AEGP calls
     [](const SweepPoint& point, PF_Err result, Host& host) {
         const bool thrown = result == PF_Err_BAD_CALLBACK_PARAM;
         EXPECT_EQ((host.outData().out_flags & PF_OutFlag_FORCE_RERENDER) != 0, !thrown);
         EXPECT_EQ(parameterControls(host).rerenders, thrown ? 0u : 1u);
         EXPECT_EQ(counterValue(host), point.call.name == "AEGP_DisposeEffect" ? 1 : 0);
     }},
    {"AnotherParameterChanged", applied, [](Host& host) { return pressButton(host, kParamColor); }, 10,
     [](const SweepPoint&, PF_Err, Host& host) { EXPECT_EQ(counterValue(host), 0); }},
};

struct ParamFaults : ::testing::TestWithParam<SweptCommand> {};

TEST_P(ParamFaults, TheFirstErrorIsReturnedAndEverythingGivenBack) {
    const SweptCommand& swept = GetParam();
    const std::size_t injected = sweepFaults({
        loadModuleHost,
        swept.setUp,
        swept.command,
        [&](const SweepPoint& point, PF_Err result, Host& host) {
            SCOPED_TRACE(describe(swept.name, point));
            EXPECT_EQ(result, suiteRefusedOrInjected(point));
            swept.check(point, result, host);
            EXPECT_TRUE(booksAreClean(host));
        },
    });
    EXPECT_EQ(injected, swept.injected);
}

INSTANTIATE_TEST_SUITE_P(EachCommand, ParamFaults, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<SweptCommand>& info) { return info.param.name; });

} // namespace
