// Rising layers and scatter: the swarm flies to random points of boxes, in
// lockstep.

#include "show/swarm/effects/rising_layers.h"
#include "show/swarm/effects/scatter.h"
#include "tests/support/swarm_fixture.h"

#include <vector>

using irr::core::vector3df;

namespace {

struct Range {
    int Grid;
    double Offset;
};
struct Leg {
    int FramesBase, FramesSpread;
    Range X, Y, Z;
};

const Leg kLayers[] = {{100, 100, {10000, -50}, {500, -30}, {10000, -50}},
                       {70, 50, {8000, -40}, {500, -20}, {8000, -40}},
                       {40, 20, {4000, -20}, {500, 0}, {4000, -20}}};
const Leg kScatter = {150, 100, {20000, -100}, {20000, -100}, {20000, -100}};

class BoxFlightTest : public SwarmTest {
protected:
    static float draw(Random15& replay, const Range& r) {
        return static_cast<float>(replay.next() % r.Grid / 100.0 + r.Offset);
    }

    // Calls the effect once (without stepping) and checks that it starts the
    // leg: its draws in order, every pixel aimed at the replayed point with
    // the same frame count. Steps the swarm after.
    static void expectLegStarts(bool (*effect)(), const Leg& leg) {
        Random15 replay = Show.Random;
        std::vector<int> record;
        Show.DrawRecord = &record;
        EXPECT_TRUE(effect());
        Show.DrawRecord = nullptr;
        EXPECT_EQ(record, joined({{leg.FramesSpread}, perPixel({leg.Z.Grid, leg.Y.Grid, leg.X.Grid})}));
        const std::int32_t frames = leg.FramesBase + replay.next() % leg.FramesSpread;
        for (Pixel* p : swarm()) {
            const float z = draw(replay, leg.Z), y = draw(replay, leg.Y), x = draw(replay, leg.X);
            EXPECT_EQ(p->FramesLeft, frames);
            const vector3df aimedAt = p->Position + p->Velocity * (static_cast<float>(frames) + 0.1f);
            EXPECT_TRUE(aimedAt.equals(vector3df(x, y, z), 2e-3f)) << "z, then y, then x";
        }
        for (Pixel* p : swarm())
            p->step();
    }

    // Counts down a leg of the given frames: no pixel passes its point before
    // the leg's last countdown call, and all pass it on that call's step.
    static void expectLegEnds(bool (*effect)(), std::int32_t frames) {
        for (std::int32_t call = 0; call < frames; ++call) {
            for (Pixel* p : swarm())
                ASSERT_GE(p->FramesLeft, 0) << "none has arrived yet";
            EXPECT_TRUE(drawsOf(effect).empty());
        }
        for (Pixel* p : swarm())
            ASSERT_EQ(p->FramesLeft, -1) << "all have arrived together";
    }
};

} // namespace

TEST_F(BoxFlightTest, RisingLayersFliesThreeNarrowingSlabsDrawingEachFrameCountThenZYX) {
    for (const Leg& layer : kLayers) {
        expectLegStarts(RisingLayersEffect, layer);
        expectLegEnds(RisingLayersEffect, Show.Effects.RisingLayers.Frames);
    }
    EXPECT_FALSE(RisingLayersEffect());
    EXPECT_EQ(Show.Effects.RisingLayers.Stage, RisingLayersStage::Start);
}

TEST_F(BoxFlightTest, ScatterFliesToTheBigCubeDrawingTheFrameCountThenZYX) {
    expectLegStarts(ScatterEffect, kScatter);
    expectLegEnds(ScatterEffect, Show.Effects.Scatter.Frames);
    EXPECT_FALSE(ScatterEffect());
    EXPECT_EQ(Show.Effects.Scatter.Stage, ScatterStage::Start);
}

TEST_F(BoxFlightTest, ARunsLengthDependsOnlyOnItsFrameCounts) {
    for (std::int32_t pixels : {256, 4096}) {
        for (const vector3df& pile : {vector3df(0, 0, 0), vector3df(150, -90, 60)}) {
            startSwarm(pixels, kSeed);
            auto pileUp = [&] {
                for (Pixel* p : swarm())
                    p->Position = pile;
            };
            pileUp();
            Random15 replay = Show.Random;
            const int scatter = 150 + replay.next() % 100;
            EXPECT_EQ(runToEnd(ScatterEffect), scatter + 2);

            pileUp();
            std::vector<std::int32_t> legs; // each leg's frame count, as drawn
            auto stage = RisingLayersStage::Start;
            int calls = 1;
            for (; frame(RisingLayersEffect); ++calls)
                if (Show.Effects.RisingLayers.Stage != stage) {
                    stage = Show.Effects.RisingLayers.Stage;
                    legs.push_back(Show.Effects.RisingLayers.Frames);
                }
            ASSERT_EQ(legs.size(), 3u);
            EXPECT_EQ(calls, legs[0] + legs[1] + legs[2] + 4) << pixels << " pixels";
        }
    }
}

TEST_F(BoxFlightTest, APixelAlreadyAtItsPointStaysPut) {
    Random15 replay = Show.Random;
    const int frames = 150 + replay.next() % 100;
    const float z = draw(replay, kScatter.Z), y = draw(replay, kScatter.Y), x = draw(replay, kScatter.X);
    pixel(0).Position = {x, y, z};
    EXPECT_EQ(runToEnd(ScatterEffect), frames + 2);
    EXPECT_EQ(pixel(0).Position, vector3df(x, y, z));
}
