#include "show/swarm/effects/focus_point.h"
#include "tests/support/swarm_fixture.h"

using irr::core::vector3df;

namespace {

class FocusPointTest : public SwarmTest {
protected:
    static FocusPointState& state() { return Show.Effects.FocusPoint; }
};

float hundredths(Random15& replay, int m, double base) {
    return static_cast<float>(replay.next() % m / 100.0 + base);
}

} // namespace

TEST_F(FocusPointTest, DrawsTheWaitThenThePointXYZThenEachSpeed) {
    Random15 replay = Show.Random;
    std::vector<vector3df> from;
    for (Pixel* p : swarm())
        from.push_back(p->Position);
    EXPECT_EQ(drawsOf(FocusPointEffect), joined({{500, 4000, 3000, 4000}, perPixel({1200})}));
    EXPECT_EQ(state().Wait, replay.next() % 500 + 500);
    const float x = hundredths(replay, 4000, -20);
    const float y = hundredths(replay, 3000, -10);
    const float z = hundredths(replay, 4000, -20);
    // Exactly: the engine's vector equality allows a rounding error.
    EXPECT_EQ(state().Focus.X, x);
    EXPECT_EQ(state().Focus.Y, y);
    EXPECT_EQ(state().Focus.Z, z);
    for (std::size_t i = 0; i < from.size(); ++i) {
        const vector3df aimed = (state().Focus - from[i]).normalize() * (hundredths(replay, 1200, 4) / 10);
        EXPECT_LT((pixel(i).Velocity - aimed).getLength(), 1e-5f) << i;
    }
    EXPECT_TRUE(drawsOf(FocusPointEffect).empty()) << "the wait draws nothing";
}

TEST_F(FocusPointTest, ARunLastsItsWaitPlusTwoCallsAndAPixelOnThePointStaysThere) {
    Random15 replay = Show.Random;
    const int wait = replay.next() % 500 + 500;
    const float x = hundredths(replay, 4000, -20);
    const float y = hundredths(replay, 3000, -10);
    const float z = hundredths(replay, 4000, -20);
    const vector3df focus(x, y, z);
    pixel(0).Position = focus;
    EXPECT_EQ(runToEnd(FocusPointEffect), wait + 2);
    EXPECT_EQ(state().Stage, FocusPointStage::Start);
    EXPECT_EQ(pixel(0).Position, focus);
}

TEST_F(FocusPointTest, AnUnknownStageChangesNothing) {
    state().Wait = 42;
    expectUnknownStageIgnored(FocusPointEffect, state(), 0);
}
