// The suite table against the host's basic suite: laziness, single acquisition, names, release order,
// refusal.
#include "support/FrameworkFixture.h"

#include "suites/SuiteTable.h"

#include <sstream>

using namespace OrvaneHost;
using Orvane::SuiteTable;

namespace {

struct SuiteTableTest : OrvaneTest::FrameworkFixture {
    const int dummyTable = 0;

    void serveEverySlot() {
        for (std::size_t i = 0; i < SuiteTable::slotCount; ++i)
            host.serveSuite(SuiteTable::slotInfo(i).name, SuiteTable::slotInfo(i).version, &dummyTable);
    }
};

TEST_F(SuiteTableTest, ATableNeverAskedMakesNoHostCall) {
    { SuiteTable table(host.basicSuite()); }
    EXPECT_EQ(host.calls().count(), 0u);
}

TEST_F(SuiteTableTest, WithoutABasicSuiteConstructionThrowsBadCallbackParam) {
    try {
        SuiteTable table(nullptr);
        FAIL() << "no throw";
    } catch (PF_Err err) {
        EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
    }
}

TEST_F(SuiteTableTest, TwoAccessesAcquireOnceAndReleaseOnceUnderTheSameNameAndVersion) {
    {
        SuiteTable table(host.basicSuite());
        PF_HandleSuite2* first = table.pfHandleSuite2();
        EXPECT_EQ(table.pfHandleSuite2(), first);
        EXPECT_NE(first, nullptr);
    }
    EXPECT_EQ(host.acquisitions("PF Handle Suite", 2), 1u);
    const auto released = callsNamed("ReleaseSuite");
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].detail, "PF Handle Suite 2");
}

TEST_F(SuiteTableTest, EachVersionIsItsOwnSuite) {
    serveEverySlot();
    {
        SuiteTable table(host.basicSuite());
        table.aegpEffectSuite2();
        table.aegpEffectSuite3();
    }
    EXPECT_EQ(host.acquisitions("AEGP Effect Suite", 2), 1u);
    EXPECT_EQ(host.acquisitions("AEGP Effect Suite", 3), 1u);
    EXPECT_EQ(host.releases("AEGP Effect Suite", 2), 1u);
    EXPECT_EQ(host.releases("AEGP Effect Suite", 3), 1u);
}

TEST_F(SuiteTableTest, ARefusalThrowsAndTheSuitesAcquiredBeforeAreReleased) {
    serveEverySlot();
    for (FaultMode mode : {FaultMode::Error, FaultMode::Null}) {
        host.calls().clearRules();
        host.calls().addRule({"AcquireSuite", "", 3, false, {mode, 5}});
        try {
            SuiteTable table(host.basicSuite());
            table.aegpKeyframeSuite4();
            table.aegpStreamSuite9();
            table.aegpIterateSuite1();
            FAIL() << "no throw";
        } catch (PF_Err err) {
            EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
        }
        EXPECT_TRUE(host.unbalancedSuites().empty());
        EXPECT_EQ(host.acquisitions("AEGP Iterate Suite", 1), 0u);
        host.calls().reset();
    }
    EXPECT_EQ(host.releases("AEGP Keyframe Suite", 4), 2u);
}

TEST_F(SuiteTableTest, ARefusedSlotStaysEmptyAndIsAskedForAgain) {
    host.calls().addRule({"AcquireSuite", "PF Handle Suite 2", 1, false, {FaultMode::Error, 5}});
    SuiteTable table(host.basicSuite());
    EXPECT_THROW(table.pfHandleSuite2(), PF_Err);
    EXPECT_NE(table.pfHandleSuite2(), nullptr);
    EXPECT_EQ(host.calls().countOf("AcquireSuite"), 2u);
}

// The 104 slots as the host knows them, in declared order.
const char* const kExpectedSlots =
    "AEGP Keyframe Suite 4;AEGP Stream Suite 8;AEGP Stream Suite 9;AEGP Marker Suite 1;AEGP Marker Suite 2;"
    "AEGP Comp Suite 9;AEGP Comp Suite 11;AEGP Comp Suite 14;AEGP Comp Suite 15;AEGP Comp Suite 18;"
    "AEGP Layer Suite 8;AEGP Layer Suite 10;AEGP Stream Suite 7;AEGP Dynamic Stream Suite 2;"
    "AEGP Dynamic Stream Suite 3;AEGP Dynamic Stream Suite 5;AEGP Keyframe Suite 3;AEGP Canvas Suite 10;"
    "AEGP Canvas Suite 11;AEGP Camera Suite 2;AEGP Register Suite 6;AEGP Memory Suite 1;AEGP Item Suite 13;"
    "AEGP Item Suite 11;AEGP Item Suite 10;AEGP Item Suite 7;AEGP Item Suite 3;AEGP Light Suite 1;"
    "AEGP Light Suite 2;AEGP Effect Suite 1;AEGP Effect Suite 2;AEGP Effect Suite 3;AEGP Layer Mask Suite 5;"
    "AEGP Mask Outline Suite 3;AEGP Command Suite 1;AEGP Utility Suite 7;AEGP Render Suite 1;"
    "AEGP Render Suite 2;PF ANSI Suite 1;PF Handle Suite 2;PF Fill Matte Suite 2;PF World Transform Suite 1;"
    "AEGP QueryXform Suite 4;AEGP Composite Suite 4;PF World Suite 1;AEGP PF Interface Suite 1;"
    "PF Path Query Suite 1;PF Path Data Suite 1;PF AE App Suite 6;PF AE Adv App Suite 2;AEGP IO In Suite 5;"
    "AEGP IO Out Suite 7;AEGP Persistent Data Suite 3;AEGP Render Queue Suite 1;"
    "AEGP Render Queue Item Suite 3;AEGP Output Module Suite 4;AEGP File Import Manager Suite 3;"
    "PF Sampling8 Suite 1;PF Sampling16 Suite 1;PF Iterate8 Suite 1;PF iterate16 Suite 1;"
    "PF iterateFloat Suite 1;AEGP Collection Suite 2;AEGP Text Document Suite 1;AEGP Sound Data Suite 1;"
    "AEGP Iterate Suite 1;AEGP Text Layer Suite 1;AEGP Artisan Util Suite 1;AEGP World Suite 2;"
    "AEGP World Suite 3;AEGP Render Options Suite 1;AEGP Tracker Suite 1;AEGP Tracker Utility Suite 1;"
    "AE Plugin Helper Suite2 2;AEGP Layer Suite 11;AEGP Layer Suite 12;AEGP Layer Suite 13;"
    "AEGP Layer Suite 5;AEGP Layer Mask Suite 2;AEGP Stream Suite 4;AEGP Comp Suite 4;"
    "AEGP Collection Suite 1;AEGP Keyframe Suite 1;AEGP Mask Outline Suite 2;PF AE Adv App Suite 1;"
    "AEGP Utility Suite 3;AEGP Render Options Suite 2;AEGP Proj Suite 8;AEGP Proj Suite 9;"
    "AEGP Footage Suite 11;AEGP Render Queue Item Suite 4;AEGP Utility Suite 10;PF Color Settings Suite 3;"
    "PF Color Settings Suite 1;PF AE Adv Item Suite 1;PF ColorParamSuite 1;PF SamplingFloat Suite 1;"
    "AEGP Utility Suite 11;PF Effect Custom UI Suite 1;PF Effect Custom UI Overlay Theme Suite 1;"
    "DRAWBOT Draw Suite 1;DRAWBOT Supplier Suite 1;DRAWBOT Surface Suite 1;DRAWBOT Path Suite 1";

std::vector<std::string> expectedSlots() {
    std::vector<std::string> out;
    std::stringstream all(kExpectedSlots);
    for (std::string item; std::getline(all, item, ';');) out.push_back(item);
    return out;
}

TEST_F(SuiteTableTest, SlotsCarryTheHostsExactNamesAndVersions) {
    const auto expected = expectedSlots();
    ASSERT_EQ(expected.size(), SuiteTable::slotCount);
    for (std::size_t i = 0; i < SuiteTable::slotCount; ++i)
        EXPECT_EQ(std::string(SuiteTable::slotInfo(i).name) + " " + std::to_string(SuiteTable::slotInfo(i).version),
                  expected[i])
            << "slot " << i + 1;
}

TEST_F(SuiteTableTest, EverySlotIsReleasedInTheReleaseOrder) {
    serveEverySlot();
    {
        SuiteTable table(host.basicSuite());
#define ORVANE_TOUCH(number, accessor, Type, name, version) table.accessor();
        ORVANE_SUITE_SLOTS(ORVANE_TOUCH)
#undef ORVANE_TOUCH
        EXPECT_EQ(host.calls().countOf("AcquireSuite"), SuiteTable::slotCount);
    }
    // Release order by slot number: 4-5, 11-12, 3, 2, 13, 80, 14-16, 1, 17, 83, 6-10, 18-21, 23-27, 46-47,
    // 22, 48-50, 28-45, 51-52, 54-77, 95, 78-79, 81-82, 84-92, 53, 93-94, 96-104.
    const int ranges[][2] = {{4, 5},   {11, 12}, {3, 3},   {2, 2},   {13, 13}, {80, 80}, {14, 16},
                             {1, 1},   {17, 17}, {83, 83}, {6, 10},  {18, 21}, {23, 27}, {46, 47},
                             {22, 22}, {48, 50}, {28, 45}, {51, 52}, {54, 77}, {95, 95}, {78, 79},
                             {81, 82}, {84, 92}, {53, 53}, {93, 94}, {96, 104}};
    const auto names = expectedSlots();
    std::vector<std::string> expectedOrder;
    for (const auto& range : ranges)
        for (int slot = range[0]; slot <= range[1]; ++slot) expectedOrder.push_back(names[slot - 1]);
    const auto released = callsNamed("ReleaseSuite");
    ASSERT_EQ(released.size(), expectedOrder.size());
    for (std::size_t i = 0; i < released.size(); ++i) EXPECT_EQ(released[i].detail, expectedOrder[i]) << i;
}

TEST_F(SuiteTableTest, AThrowingOwnerStillReleasesEverything) {
    try {
        SuiteTable table(host.basicSuite());
        table.pfHandleSuite2();
        table.aegpUtilitySuite7();
        throw PF_Err(PF_Err_BAD_CALLBACK_PARAM);
    } catch (PF_Err) {
    }
    EXPECT_TRUE(host.unbalancedSuites().empty());
    EXPECT_EQ(host.releases("AEGP Utility Suite", 7), 1u);
}

} // namespace
