#include "show/swarm/effects/implosion.h"
#include "tests/support/swarm_fixture.h"

#include <algorithm>

using irr::core::vector3df;

namespace {

class ImplosionTest : public SwarmTest {
protected:
    static ImplosionState& state() { return Show.Effects.Implosion; }
};

} // namespace

TEST_F(ImplosionTest, SendsEveryPixelThroughTheCentreAtItsOwnSpeed) {
    EXPECT_TRUE(ImplosionEffect());
    EXPECT_EQ(state().Stage, ImplosionStage::Rushing);
    for (Pixel* p : swarm()) {
        const float step = p->Velocity.getLength();
        EXPECT_GE(step, 0.4f - 1e-6f);
        EXPECT_LE(step, 0.799f + 1e-6f);
        EXPECT_NEAR(p->Velocity.dotProduct(-p->Position) / (step * p->Position.getLength()), 1.0f, 1e-4f);
    }
}

TEST_F(ImplosionTest, WaitsForTheSlowestPixelWhenTheTripIsShort) {
    ImplosionEffect();
    const std::int32_t longest = longestTrip();
    ASSERT_LT(longest, 600) << "trips inside the start cube are never capped";
    EXPECT_EQ(state().Wait, longest);
    int calls = 0;
    while (state().Stage == ImplosionStage::Rushing) {
        ASSERT_TRUE(frame(ImplosionEffect));
        ++calls;
    }
    EXPECT_EQ(calls, longest + 1);
}

TEST_F(ImplosionTest, ALongTripIsCappedByAFreshDraw) {
    pixel(0).Position = {0, 0, 1500}; // far out: its trip is at least 1875 frames
    Random15 replay = Show.Random;
    ImplosionEffect();
    for (std::size_t i = 0; i < swarm().size(); ++i)
        replay.next(); // each pixel's speed
    const int cap = 600 + replay.next() % 400;
    const int fresh = 600 + replay.next() % 400;
    ASSERT_GE(longestTrip(), cap);
    EXPECT_EQ(state().Wait, fresh);
}

TEST_F(ImplosionTest, TurnsEveryPixelTowardsOneSideThenCrawls) {
    state().Stage = ImplosionStage::Rushing;
    state().Wait = 0;
    Random15 replay = Show.Random;
    EXPECT_TRUE(ImplosionEffect());
    EXPECT_EQ(state().Stage, ImplosionStage::Crawling);
    EXPECT_EQ(state().Wait, replay.next() % 500);
    for (Pixel* p : swarm()) {
        EXPECT_NEAR(p->Velocity.getLength(), 0.02f, 1e-6f);
        const vector3df towards = (vector3df(100, 0, 0) - p->Position).normalize();
        EXPECT_NEAR(p->Velocity.dotProduct(towards), 0.02f, 1e-6f);
    }
    const std::int32_t crawl = state().Wait;
    EXPECT_EQ(runToEnd(ImplosionEffect), crawl + 1);
    EXPECT_EQ(state().Stage, ImplosionStage::Start);
}

TEST_F(ImplosionTest, AWholeRunLastsItsThreeStages) {
    ImplosionEffect();
    const std::int32_t rush = state().Wait;
    int calls = 1;
    while (state().Stage == ImplosionStage::Rushing) {
        frame(ImplosionEffect);
        ++calls;
    }
    const std::int32_t crawl = state().Wait;
    calls += runToEnd(ImplosionEffect);
    EXPECT_EQ(calls, 1 + (rush + 1) + (crawl + 1));
}

TEST_F(ImplosionTest, AnUnknownStageChangesNothing) {
    state().Wait = 42;
    expectUnknownStageIgnored(ImplosionEffect, state(), 7);
}

TEST_F(ImplosionTest, DrawsEachSpeedThenTheCapThenTheCrawl) {
    EXPECT_EQ(drawsOf(ImplosionEffect), joined({perPixel({400}), {400}})) << "short trips: no second cap draw";
    state().Wait = 0;
    EXPECT_EQ(drawsOf(ImplosionEffect), std::vector<int>{500}) << "the turn draws only the crawl";
    state().Wait = 0;
    EXPECT_TRUE(drawsOf(ImplosionEffect).empty());

    pixel(0).Position = {0, 0, 1500};
    EXPECT_EQ(drawsOf(ImplosionEffect), joined({perPixel({400}), {400, 400}})) << "a long trip draws a fresh wait";
}
