#include "show/swarm/effects/gather_spread.h"
#include "tests/support/swarm_fixture.h"

#include <cmath>

using irr::core::vector3df;

namespace {

class GatherSpreadTest : public SwarmTest {
protected:
    static GatherSpreadState& state() { return Show.Effects.GatherSpread; }

    // Runs the gathering to its end; gives the number of calls it took.
    static int gatherAll() {
        int calls = 0;
        while (state().Stage != GatherSpreadStage::Spreading) {
            frame(GatherSpreadEffect);
            ++calls;
        }
        return calls;
    }

    // Where a pixel is headed, from its heading and its frame count right after aiming.
    static vector3df target(const Pixel& p) { return p.Position + p.Velocity * (p.FramesLeft + 0.1f); }

    static bool isSquaresRun() {
        for (Pixel* p : swarm())
            if (p->FramesLeft != 100)
                return false;
        return true;
    }
};

} // namespace

TEST_F(GatherSpreadTest, GivesEveryPixelTheSameFrameCountToTheCentre) {
    Random15 replay = Show.Random;
    EXPECT_TRUE(GatherSpreadEffect());
    EXPECT_EQ(state().HalfWidth, replay.next() % 30 + 15);
    const int frames = replay.next() % 200 + 200;
    for (Pixel* p : swarm())
        EXPECT_EQ(p->FramesLeft, frames);
}

TEST_F(GatherSpreadTest, EveryPixelPassesTheCentreOnTheSameFrame) {
    frame(GatherSpreadEffect);
    const int frames = pixel(0).FramesLeft + 1; // stepped once already
    EXPECT_EQ(gatherAll(), frames + 1);
    // The spreading moves were given after the last gathering step; undo it.
    for (Pixel* p : swarm())
        EXPECT_LT((p->Position - p->Velocity).getLength(), 1.1f) << "the swarm is one dense point";
}

TEST_F(GatherSpreadTest, SpreadsIntoACubeOrThreeThinSquaresWithinTheHalfWidth) {
    bool sawCube = false;
    bool sawSquares = false;
    for (std::uint32_t seed = 1; seed < 40 && !(sawCube && sawSquares); ++seed) {
        startSwarm(kPixels, seed);
        GatherSpreadEffect();
        const float half = static_cast<float>(state().HalfWidth);
        while (GatherSpreadEffect() && state().Stage != GatherSpreadStage::Spreading) {
            for (Pixel* p : swarm())
                p->step();
        }
        const bool squares = isSquaresRun();
        (squares ? sawSquares : sawCube) = true;
        for (Pixel* p : swarm()) {
            const vector3df t = target(*p);
            int thin = 0;
            for (float c : {t.X, t.Y, t.Z}) {
                EXPECT_GE(c, -half - 0.01f);
                EXPECT_LE(c, half);
                thin += std::fabs(c) <= 0.1001f;
            }
            if (squares) {
                EXPECT_GE(thin, 1) << "a square has one thin coordinate";
            } else {
                EXPECT_GE(p->FramesLeft, 100);
                EXPECT_LE(p->FramesLeft, 109);
            }
        }
    }
    EXPECT_TRUE(sawCube);
    EXPECT_TRUE(sawSquares);
}

TEST_F(GatherSpreadTest, ARunLastsItsStartTheGatheringAndPixelZerosSpread) {
    GatherSpreadEffect();
    const int gather = pixel(0).FramesLeft;
    for (Pixel* p : swarm())
        p->step();
    const int gathering = gatherAll();
    const int spread = pixel(0).FramesLeft + 1; // the spreading move has taken one step
    const int spreading = runToEnd(GatherSpreadEffect);
    EXPECT_EQ(gathering, gather + 1);
    EXPECT_EQ(spreading, spread + 1);
    EXPECT_EQ(state().Stage, GatherSpreadStage::Start);
}

TEST_F(GatherSpreadTest, AnUnknownStageChangesNothing) {
    state().HalfWidth = 20;
    expectUnknownStageIgnored(GatherSpreadEffect, state(), 0);
}

TEST_F(GatherSpreadTest, DrawsInTheOrderOfEachFigureZThenYThenX) {
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        startSwarm(kPixels, seed);
        EXPECT_EQ(drawsOf(GatherSpreadEffect), (std::vector<int>{30, 200}));
        const int half = state().HalfWidth;
        const int wide = 200 * half;
        while (pixel(0).FramesLeft >= 0)
            EXPECT_TRUE(drawsOf(GatherSpreadEffect).empty());

        // Replays the figure to know each pixel's draws and where they aim it.
        Random15 replay = Show.Random;
        auto coordinate = [&](int m, double offset) { return static_cast<float>(replay.next() % m / 100.0 + offset); };
        std::vector<int> expected{2};
        std::vector<vector3df> targets;
        const bool cube = replay.next() % 2 == 1;
        for (std::size_t i = 0; i < swarm().size(); ++i) {
            const int first = cube ? 10 : 3;
            const int choice = replay.next() % first;
            const int plane = cube ? -1 : choice;
            const int mz = plane == 1 ? 20 : wide, my = plane == 0 ? 20 : wide, mx = plane == 2 ? 20 : wide;
            expected.insert(expected.end(), {first, mz, my, mx});
            const float z = coordinate(mz, mz == 20 ? -0.1 : -half);
            const float y = coordinate(my, my == 20 ? -0.1 : -half);
            const float x = coordinate(mx, mx == 20 ? -0.1 : -half);
            targets.emplace_back(x, y, z);
        }
        EXPECT_EQ(drawsOf(GatherSpreadEffect), expected) << "seed " << seed;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const vector3df heading = (targets[i] - pixel(i).Position).normalize();
            EXPECT_NEAR(heading.dotProduct(vector3df(pixel(i).Velocity).normalize()), 1.0f, 1e-3f) << i;
        }
    }
}
