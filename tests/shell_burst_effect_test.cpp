#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/effects/shell_burst.h"
#include "tests/support/swarm_fixture.h"

#include <algorithm>
#include <cmath>

using irr::core::vector3df;

namespace {

class ShellBurstTest : public SwarmTest {
protected:
    static ShellBurstState& state() { return Show.Effects.ShellBurst; }
};

} // namespace

TEST_F(ShellBurstTest, DrawsTheCoinBeforeTheSphereAndMakesTheCapDrawThatNeverApplies) {
    Random15 replay = Show.Random;
    EXPECT_EQ(drawsOf(ShellBurstEffect), joined({{2, 200}, perPixel({200}), {400}}));
    EXPECT_EQ(state().Burst, replay.next() % 2 != 0);
    EXPECT_EQ(state().CatchRadiusSquared, replay.next() % 200 + 100);
    int longest = 0;
    for (std::size_t i = 0; i < swarm().size(); ++i)
        longest = std::max(longest, replay.next() % 200 + 200);
    EXPECT_EQ(state().Wait, longest);
    while (state().Wait > 0)
        EXPECT_TRUE(drawsOf(ShellBurstEffect).empty());
    state().Burst = true;
    EXPECT_EQ(drawsOf(ShellBurstEffect), joined({perPixel({10}), {4}}));
}

TEST_F(ShellBurstTest, ABurstWithLongestTrip14AndFactor7Lasts99Calls) {
    seedWhere([](Random15 replay) {
        int longest = 0;
        for (std::size_t i = 0; i < swarm().size(); ++i)
            longest = std::max(longest, replay.next() % 10 + 5);
        return longest == 14 && replay.next() % 4 == 3;
    });
    state() = {ShellBurstStage::Catching, 0, 100, true};
    EXPECT_TRUE(frame(ShellBurstEffect));
    EXPECT_EQ(state().Stage, ShellBurstStage::Bursting);
    EXPECT_EQ(state().Wait, 98);
    EXPECT_EQ(runToEnd(ShellBurstEffect), 99);
    EXPECT_EQ(state().Stage, ShellBurstStage::Start);
}

TEST_F(ShellBurstTest, AQuietRunEndsAfterTheWaitWithNoCatchingPass) {
    state() = {ShellBurstStage::Catching, 0, 299, false};
    pixel(0).Position = {1, 0, 0};
    pixel(0).Velocity = {0.5f, 0, 0};
    Random15 expected = Show.Random;
    EXPECT_FALSE(ShellBurstEffect());
    EXPECT_EQ(state().Stage, ShellBurstStage::Start);
    EXPECT_EQ(pixel(0).Velocity, vector3df(0.5f, 0, 0));
    EXPECT_EQ(Show.Random.next(), expected.next()) << "no draw was made";
}

TEST_F(ShellBurstTest, CatchesOnlyPixelsStrictlyInsideTheSphereInSinglePrecision) {
    // 100 exactly once each product and the sum are rounded to floats; just under it in exact arithmetic.
    const vector3df edge(6.00000048f, 7.99999952f, 0);
    ASSERT_EQ(squaredLength(edge), 100.0f);
    ASSERT_LT(double(edge.X) * edge.X + double(edge.Y) * edge.Y, 100.0);
    const vector3df onSphere(10, 0, 0), inside(9.99f, 0, 0), flight(0.5f, 0, 0);
    for (std::size_t i : {0, 1, 2})
        pixel(i).Velocity = flight;
    pixel(0).Position = onSphere;
    pixel(1).Position = edge;
    pixel(2).Position = inside;
    state() = {ShellBurstStage::Catching, 5, 100, false};
    EXPECT_TRUE(ShellBurstEffect());
    EXPECT_EQ(pixel(0).Velocity, flight) << "on the sphere";
    EXPECT_EQ(pixel(1).Velocity, flight) << "on the sphere as floats";
    EXPECT_NEAR(pixel(2).Velocity.X, -0.00001f, 1e-9f) << "caught: a crawl to the centre";
    EXPECT_GT(pixel(2).FramesLeft, 990000) << "at a tiny speed, never a zero-speed move";
}

TEST_F(ShellBurstTest, AQuietRunLeavesAHollowBallAfterItsLongestTrip) {
    seedWhere([](Random15 replay) { return replay.next() % 2 == 0; });
    EXPECT_TRUE(frame(ShellBurstEffect));
    const float radius = std::sqrt(static_cast<float>(state().CatchRadiusSquared));
    std::vector<float> from;
    for (Pixel* p : swarm())
        from.push_back(p->Position.getLength());
    const int wait = state().Wait;
    EXPECT_EQ(runToEnd(ShellBurstEffect), wait + 1);
    for (std::size_t i = 0; i < from.size(); ++i) {
        const float now = pixel(i).Position.getLength();
        EXPECT_LE(now, radius) << i;
        if (from[i] > radius) {
            EXPECT_GT(now, radius - 1.0f) << "caught within a step of the surface: " << i;
        }
    }
}

TEST_F(ShellBurstTest, AnUnknownStageChangesNothing) {
    state() = {ShellBurstStage::Start, 42, 100, true};
    expectUnknownStageIgnored(ShellBurstEffect, state(), 0);
}
