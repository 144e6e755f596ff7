#include "show/swarm/effects/fountain.h"
#include "tests/support/swarm_fixture.h"

#include <cmath>
#include <vector>

using irr::core::vector3df;

namespace {

class FountainTest : public SwarmTest {
protected:
    static FountainState& state() { return Show.Effects.Fountain; }

    // A run under way, with every flight still going.
    static void midRun(std::int32_t framesLeft) {
        state().Stage = FountainStage::Running;
        state().FramesLeft = framesLeft;
        for (Pixel* p : swarm())
            p->FramesLeft = 7;
    }

    // Where a pixel is headed, from its velocity: the unit step of its leg.
    static vector3df heading(const Pixel& p) { return vector3df(p.Velocity).normalize(); }
    static vector3df towards(const Pixel& p, const vector3df& target) { return (target - p.Position).normalize(); }

    static float draw(Random15& replay, int m, double offset) {
        return static_cast<float>(replay.next() % m / 100.0 + offset);
    }
};

} // namespace

TEST_F(FountainTest, StartsEveryRunWithAllPhasesAtOneAndDelaysWithinTheFirstThird) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        startSwarm(kPixels, seed);
        for (std::size_t i = 0; i < swarm().size(); ++i)
            pixel(i).Phase = 4 - static_cast<std::int32_t>(i % 4); // as a previous run may leave them
        Random15 replay = Show.Random;
        const int run = 500 + replay.next() % 200;
        EXPECT_EQ(drawsOf(FountainEffect), joined({{200}, perPixel({run / 3})})) << "seed " << seed;
        for (Pixel* p : swarm())
            EXPECT_EQ(p->Phase, 1);
    }
}

TEST_F(FountainTest, TakesOnlyPixelsJustArrivedOneLegEachDrawingBarXThenWallZThenY) {
    midRun(50);
    const vector3df places[] = {{3, -10, 0}, {0, 40, 0}, {-0.01f, 40, 1}, {-40, 12, 2}, {40, 5, 0}};
    const std::int32_t phases[] = {1, 2, 2, 3, 4};
    for (std::size_t i = 0; i < 5; ++i) {
        pixel(i).Position = places[i];
        pixel(i).FramesLeft = 0;
        pixel(i).Phase = phases[i];
    }
    pixel(5).Phase = 1; // still on its way
    const vector3df untouched = pixel(5).Velocity;

    Random15 replay = Show.Random;
    std::vector<int> record;
    Show.DrawRecord = &record;
    EXPECT_TRUE(FountainEffect());
    Show.DrawRecord = nullptr;
    EXPECT_EQ(record, (std::vector<int>{8000, 1000, 4000, 1000, 4000}));

    const float barX = draw(replay, 8000, -40);
    EXPECT_NEAR(heading(pixel(0)).dotProduct(towards(pixel(0), {barX, 40, 0})), 1.0f, 1e-5f);
    const float rightZ = draw(replay, 1000, -5), rightY = draw(replay, 4000, 0);
    EXPECT_NEAR(heading(pixel(1)).dotProduct(towards(pixel(1), {40, rightY, rightZ})), 1.0f, 1e-5f) << "x 0 goes right";
    const float leftZ = draw(replay, 1000, -5), leftY = draw(replay, 4000, 0);
    EXPECT_NEAR(heading(pixel(2)).dotProduct(towards(pixel(2), {-40, leftY, leftZ})), 1.0f, 1e-5f);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_NEAR(pixel(i).Velocity.getLength(), 0.2f, 1e-6f);
    EXPECT_EQ(pixel(3).Velocity, vector3df(0, 0, 0)) << "stopped on the wall";
    EXPECT_EQ(pixel(3).FramesLeft, 0);
    const std::int32_t after[] = {2, 3, 3, 4, 4, 1};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(pixel(i).Phase, after[i]) << "pixel " << i;
    EXPECT_EQ(pixel(5).Velocity, untouched);
}

TEST_F(FountainTest, APixelGathersRisesCrossesAndStopsEachOnTheCallItsFlightEnds) {
    Random15 replay = Show.Random;
    const int run = 500 + replay.next() % 200;
    const int delay = replay.next() % (run / 3); // pixel 0's
    ASSERT_GE(delay, 1);
    frame(FountainEffect);
    state().FramesLeft = 5000; // long enough for the whole path
    std::vector<int> changedOn;
    for (int call = 1; call <= 1200; ++call) {
        const std::int32_t phase = pixel(0).Phase;
        const std::int32_t framesLeft = pixel(0).FramesLeft;
        frame(FountainEffect);
        if (pixel(0).Phase != phase) {
            EXPECT_EQ(pixel(0).Phase, phase + 1);
            EXPECT_EQ(framesLeft, 0);
            changedOn.push_back(call);
        }
    }
    ASSERT_EQ(changedOn.size(), 3u);
    EXPECT_EQ(changedOn[0], delay);
    EXPECT_NEAR(std::fabs(pixel(0).Position.X), 40.0f, 0.2f) << "on a wall";
    EXPECT_EQ(pixel(0).Velocity, vector3df(0, 0, 0));
}

TEST_F(FountainTest, ADelayOfZeroLeavesThePixelGatheringForTheRestOfTheRun) {
    startSwarm(4096, kSeed);
    Random15 replay = Show.Random;
    const int delays = (500 + replay.next() % 200) / 3;
    std::size_t flung = swarm().size();
    for (std::size_t i = 0; i < swarm().size() && flung == swarm().size(); ++i)
        if (replay.next() % delays == 0)
            flung = i;
    ASSERT_LT(flung, swarm().size());
    pixel(flung).Position = {0, -9, 0}; // flung 10 units down: too near to escape and be re-aimed
    while (frame(FountainEffect))
        EXPECT_EQ(pixel(flung).Phase, 1);
}

TEST_F(FountainTest, ARunLastsItsDrawnLengthPlusTwoAndTheLastCallTakesOnNoPixel) {
    for (std::int32_t pixels : {256, 4096}) {
        startSwarm(pixels, kSeed);
        Random15 replay = Show.Random;
        EXPECT_EQ(runToEnd(FountainEffect), 500 + replay.next() % 200 + 2) << pixels << " pixels";
    }
    midRun(0);
    for (Pixel* p : swarm()) {
        p->FramesLeft = 0;
        p->Phase = 1;
    }
    EXPECT_TRUE(drawsOf(FountainEffect).empty());
    EXPECT_EQ(state().Stage, FountainStage::Start);
    for (Pixel* p : swarm())
        EXPECT_EQ(p->Phase, 1);
}
