// Checking out the layer parameter as a world, and checking it in again when the last reference goes.
#include "support/FrameworkFixture.h"

#include "framework/ParameterWorld.h"
#include "host/Worlds.h"

using namespace OrvaneHost;
using namespace Orvane;
using OrvaneTest::booksAreClean;
using OrvaneTest::kInjectedError;

namespace {

using ParameterWorldTest = OrvaneTest::FrameworkFixture;

TEST_F(ParameterWorldTest, ALayerCheckoutPointsAtTheLayerRecordInsideTheObject) {
    const WorldBuffer& layer = setLayerBuffer(host, 6, 4, 16, 8);
    in.time_step = 4000;
    std::shared_ptr<ParameterWorld> world;
    ASSERT_EQ(checkoutParameterWorld(&in, 0, Time{6000, 120000}, world), PF_Err_NONE);
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->get(), &world->parameter().u.ld);
    EXPECT_EQ(world->get()->data, layer.world.data);
    EXPECT_EQ(world->width(), 6);
    EXPECT_EQ(world->height(), 4);
    EXPECT_EQ(world->get()->rowbytes, layer.world.rowbytes);

    const auto checkouts = callsNamed("checkout_param");
    ASSERT_EQ(checkouts.size(), 1u);
    EXPECT_EQ(checkouts[0].detail, "0 at 6000/120000 step 4000"); // index, time value / scale, in_data's step
    EXPECT_EQ(countOf("checkin_param"), 0u);

    std::shared_ptr<ParameterWorld> second = world;
    world.reset();
    EXPECT_EQ(countOf("checkin_param"), 0u) << "still referenced";
    second.reset();
    EXPECT_EQ(countOf("checkin_param"), 1u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(ParameterWorldTest, ACheckoutWithoutPixelsHasNoWorldAndIsStillCheckedInOnce) {
    clearLayerBuffer(host); // the layer parameter names no layer
    std::shared_ptr<ParameterWorld> world;
    ASSERT_EQ(checkoutParameterWorld(&in, 0, Time{0, 120000}, world), PF_Err_NONE);
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->get(), nullptr);
    EXPECT_EQ(world->width(), 0);
    EXPECT_EQ(world->height(), 0);
    EXPECT_EQ(host.books().live("param checkout"), 1u) << "the host holds the checkout even without pixels";
    world.reset();
    EXPECT_EQ(countOf("checkin_param"), 1u);
    EXPECT_TRUE(booksAreClean(host));
}

// A new checkout replaces the held world, which is checked in; a failed one leaves it held and checked out.
TEST_F(ParameterWorldTest, OnlyASuccessfulCheckoutReplacesTheHeldWorld) {
    setLayerBuffer(host, 2, 2, 8);
    std::shared_ptr<ParameterWorld> held;
    ASSERT_EQ(checkoutParameterWorld(&in, 0, Time{0, 120000}, held), PF_Err_NONE);
    ASSERT_EQ(checkoutParameterWorld(&in, 0, Time{4000, 120000}, held), PF_Err_NONE);
    EXPECT_EQ(countOf("checkin_param"), 1u);
    EXPECT_EQ(host.books().live("param checkout"), 1u);
    ParameterWorld* const before = held.get();

    failEvery("checkout_param");
    EXPECT_EQ(checkoutParameterWorld(&in, 0, Time{0, 120000}, held), kInjectedError);
    EXPECT_EQ(held.get(), before);
    EXPECT_EQ(countOf("checkin_param"), 1u) << "the failed checkout is never checked in";
    held.reset();
    EXPECT_EQ(countOf("checkin_param"), 2u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(ParameterWorldTest, AHostRefusalOfANonLayerIndexIsReturned) {
    std::shared_ptr<ParameterWorld> world;
    EXPECT_EQ(checkoutParameterWorld(&in, 99, Time{0, 120000}, world), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(world, nullptr);
    EXPECT_EQ(countOf("checkin_param"), 0u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(ParameterWorldTest, CheckingOutAgainOnOneObjectChecksTheFirstInFirst) {
    setLayerBuffer(host, 3, 1, 32);
    {
        auto world = std::make_shared<ParameterWorld>(&in);
        ASSERT_EQ(world->checkout(0, Time{0, 120000}), PF_Err_NONE);
        ASSERT_EQ(world->checkout(0, Time{0, 120000}), PF_Err_NONE);
        EXPECT_EQ(world->width(), 3);
        EXPECT_EQ(countOf("checkin_param"), 1u);
    }
    EXPECT_EQ(countOf("checkin_param"), 2u);
    EXPECT_TRUE(booksAreClean(host)); // no "record already holds a checkout" host error either
}

TEST_F(ParameterWorldTest, WithoutABasicSuiteConstructionThrowsBadCallbackParam) {
    in.pica_basicP = nullptr;
    std::shared_ptr<ParameterWorld> world;
    try {
        checkoutParameterWorld(&in, 0, Time{0, 120000}, world);
        FAIL() << "no throw";
    } catch (PF_Err err) {
        EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
    }
    EXPECT_EQ(countOf("checkout_param"), 0u);
    EXPECT_TRUE(booksAreClean(host));
}

} // namespace
