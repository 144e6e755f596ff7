#include "show/swarm/effects/clusters.h"
#include "tests/support/swarm_fixture.h"

#include <array>

using irr::core::vector3df;

namespace {

// What a start call's draws decide, replayed from the generator it is given.
struct Start {
    std::array<vector3df, 3> Points;
    std::vector<vector3df> Targets;
    std::vector<float> Speeds;
    std::vector<int> Draws; // moduli, in order
};

class ClustersTest : public SwarmTest {
protected:
    static ClustersState& state() { return Show.Effects.Clusters; }

    static Start replayStart(Random15& replay) {
        Start start;
        auto draw = [&](int m) {
            start.Draws.push_back(m);
            return replay.next() % m;
        };
        auto hundredths = [&](int m, double base) { return static_cast<float>(draw(m) / 100.0 + base); };
        for (vector3df& point : start.Points) {
            const float x = hundredths(8000, -40);
            const float y = hundredths(8000, -40);
            const float z = hundredths(8000, -40);
            point = {x, y, z};
        }
        for (std::size_t i = 0; i < swarm().size(); ++i) {
            const std::size_t choice = draw(2) == 1 ? 0 : draw(2) == 1 ? 1 : 2;
            start.Targets.push_back(start.Points[choice]);
            start.Speeds.push_back(hundredths(400, 4));
        }
        return start;
    }
};

} // namespace

TEST_F(ClustersTest, DrawsAllNineCoordinatesThenEachPixelsPointAndSpeed) {
    Random15 replay = Show.Random;
    const Start start = replayStart(replay);
    std::vector<vector3df> from;
    for (Pixel* p : swarm())
        from.push_back(p->Position);
    EXPECT_EQ(drawsOf(ClustersEffect), joined({start.Draws, {400}})) << "short trips: no second cap draw";
    for (std::size_t i = 0; i < 3; ++i) { // exactly: the engine's vector equality allows a rounding error
        EXPECT_EQ(state().Points[i].X, start.Points[i].X) << i;
        EXPECT_EQ(state().Points[i].Y, start.Points[i].Y) << i;
        EXPECT_EQ(state().Points[i].Z, start.Points[i].Z) << i;
    }
    for (std::size_t i = 0; i < from.size(); ++i) {
        const vector3df aimed = (start.Targets[i] - from[i]).normalize() * (start.Speeds[i] / 10);
        EXPECT_LT((pixel(i).Velocity - aimed).getLength(), 1e-5f) << i;
    }
    state().Wait = 0;
    EXPECT_EQ(drawsOf(ClustersEffect), std::vector<int>{400}) << "the turn draws only the drift";
    state().Wait = 0;
    EXPECT_TRUE(drawsOf(ClustersEffect).empty());

    startSwarm(kPixels, kSeed);
    pixel(0).Position = {0, 0, 1500};
    EXPECT_EQ(drawsOf(ClustersEffect), joined({start.Draws, {400, 400}})) << "a long trip draws a fresh wait";
}

// Every pixel starts on its own point, so every trip is 0 frames long.
TEST_F(ClustersTest, WithNoTripsAndADriftOfZeroARunLastsThreeCallsAndDriftsOutward) {
    std::uint32_t seed = 1;
    for (;; ++seed) {
        Random15 replay(seed);
        replayStart(replay);
        replay.next(); // the cap
        if (replay.next() % 400 == 0)
            break;
    }
    Show.Random.seed(seed);
    Random15 replay = Show.Random;
    const Start start = replayStart(replay);
    for (std::size_t i = 0; i < start.Targets.size(); ++i)
        pixel(i).Position = start.Targets[i];

    EXPECT_TRUE(frame(ClustersEffect));
    EXPECT_EQ(state().Wait, 0);
    EXPECT_TRUE(frame(ClustersEffect)) << "the drift is set on the first call of the wait";
    EXPECT_EQ(state().Stage, ClustersStage::Drifting);
    for (std::size_t i = 0; i < start.Targets.size(); ++i) {
        const vector3df outward = vector3df(start.Targets[i]).normalize() * 0.05f;
        EXPECT_LT((pixel(i).Velocity - outward).getLength(), 1e-6f) << i;
    }
    EXPECT_FALSE(frame(ClustersEffect)) << "a drift of 0 ends on the first call of the drift";
    EXPECT_EQ(state().Stage, ClustersStage::Start);
}

TEST_F(ClustersTest, AnUnknownStageChangesNothing) {
    state().Wait = 42;
    expectUnknownStageIgnored(ClustersEffect, state(), 4);
}
