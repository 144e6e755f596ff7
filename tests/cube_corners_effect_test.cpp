#include "show/swarm/effects/cube_corners.h"
#include "tests/support/swarm_fixture.h"

#include <algorithm>

using irr::core::vector3df;

namespace {

// What a start call's draws decide, replayed from a copy of the generator.
struct Start {
    bool Hold;
    std::vector<vector3df> Targets;
    std::vector<float> Speeds;
    int Cap;
    int Fresh;
};

Start replayStart(Random15 replay) {
    auto hundredths = [&](int m, double base) { return static_cast<float>(replay.next() % m / 100.0 + base); };
    auto coordinate = [&] {
        const float magnitude = hundredths(100, 60);
        return replay.next() % 2 != 0 ? -magnitude : magnitude;
    };
    Start start{replay.next() % 2 != 0, {}, {}, 0, 0};
    for (std::size_t i = 0; i < swarm().size(); ++i) {
        const float x = coordinate();
        const float y = coordinate();
        const float z = coordinate();
        start.Targets.emplace_back(x, y, z);
        start.Speeds.push_back(hundredths(200, 4));
    }
    start.Cap = 600 + replay.next() % 400;
    start.Fresh = 600 + replay.next() % 400;
    return start;
}

class CubeCornersTest : public SwarmTest {
protected:
    static CubeCornersState& state() { return Show.Effects.CubeCorners; }

    // Arranges a run whose replayed start satisfies fits, and gives it.
    template <typename Fits>
    static Start startWhere(Fits fits) {
        seedWhere([&](Random15 replay) { return fits(replayStart(replay)); });
        return replayStart(Show.Random);
    }
};

} // namespace

TEST_F(CubeCornersTest, DrawsTheCoinThenEachPixelsCornerXYZWithSignsThenItsSpeed) {
    const Start start = replayStart(Show.Random);
    std::vector<vector3df> from;
    for (Pixel* p : swarm())
        from.push_back(p->Position);
    const auto corners = perPixel({100, 2, 100, 2, 100, 2, 200});
    EXPECT_EQ(drawsOf(CubeCornersEffect), joined({{2}, corners, {400}})) << "short trips: no second cap draw";
    EXPECT_EQ(state().Hold, start.Hold);
    for (std::size_t i = 0; i < from.size(); ++i) {
        const vector3df aimed = (start.Targets[i] - from[i]).normalize() * (start.Speeds[i] / 10);
        EXPECT_LT((pixel(i).Velocity - aimed).getLength(), 1e-5f) << i;
    }
    EXPECT_TRUE(drawsOf(CubeCornersEffect).empty()) << "the wait draws nothing";

    startSwarm(kPixels, kSeed);
    pixel(0).Position = {0, 0, 1500};
    EXPECT_EQ(drawsOf(CubeCornersEffect), joined({{2}, corners, {400, 400}})) << "a long trip draws a fresh wait";
}

TEST_F(CubeCornersTest, ALongestTripOf700IsReplacedAgainstCap650AndKeptAgainstCap800) {
    for (const int cap : {650, 800}) {
        startSwarm(kPixels, kSeed);
        const Start start = startWhere([&](const Start& s) { return s.Cap == cap; });
        // Pixel 0 starts 700.5 steps straight out beyond its corner; no other trip comes near 700.
        const vector3df& corner = start.Targets[0];
        pixel(0).Position = corner + vector3df(corner).normalize() * (700.5f * start.Speeds[0] / 10);
        EXPECT_TRUE(CubeCornersEffect());
        ASSERT_EQ(longestTrip(), 700);
        ASSERT_EQ(pixel(0).FramesLeft, 700);
        const int wait = cap == 650 ? start.Fresh : 700;
        EXPECT_EQ(state().Wait, wait) << "cap " << cap;
        for (Pixel* p : swarm())
            p->step();
        EXPECT_EQ(runToEnd(CubeCornersEffect), wait + 1) << "cap " << cap;
    }
}

TEST_F(CubeCornersTest, AHeldPixelStopsNineToTenStepsShortAndNeverPassesItsCorner) {
    const Start start = startWhere([](const Start& s) { return s.Hold; });
    EXPECT_TRUE(frame(CubeCornersEffect));
    ASSERT_GT(state().Wait, longestTrip()) << "an uncapped wait: every pixel comes to its hold";
    std::vector<vector3df> heading;
    std::vector<bool> closeFromTheStart;
    for (Pixel* p : swarm()) {
        heading.push_back(p->Velocity);
        closeFromTheStart.push_back(p->FramesLeft < 9);
    }
    int passed = 0;
    for (bool running = true; running;) {
        running = frame(CubeCornersEffect);
        for (std::size_t i = 0; i < heading.size(); ++i)
            passed += (start.Targets[i] - pixel(i).Position).dotProduct(heading[i]) <= 0;
    }
    EXPECT_EQ(passed, 0);
    for (std::size_t i = 0; i < heading.size(); ++i) {
        EXPECT_EQ(pixel(i).Velocity, vector3df(0, 0, 0)) << i;
        const float steps = (start.Targets[i] - pixel(i).Position).getLength() / heading[i].getLength();
        if (!closeFromTheStart[i]) { // those are stopped on the first call of the wait, closer still
            EXPECT_GE(steps, 9.0f - 1e-3f) << i;
            EXPECT_LT(steps, 10.0f + 1e-3f) << i;
        }
    }
}

TEST_F(CubeCornersTest, OnlyAHeldRunStopsClosePixelsAndNeverOnItsLastCall) {
    const vector3df flight(0.5f, 0, 0);
    for (std::size_t i : {0, 1})
        pixel(i).Velocity = flight;
    pixel(0).FramesLeft = 9;
    pixel(1).FramesLeft = 10;
    state() = {CubeCornersStage::Flying, 1, false};
    EXPECT_TRUE(CubeCornersEffect());
    EXPECT_EQ(pixel(0).Velocity, flight) << "a free run stops nobody";

    state().Hold = true;
    EXPECT_FALSE(CubeCornersEffect());
    EXPECT_EQ(state().Stage, CubeCornersStage::Start);
    EXPECT_EQ(pixel(0).Velocity, flight) << "the last call makes no hold pass";

    state() = {CubeCornersStage::Flying, 1, true};
    EXPECT_TRUE(CubeCornersEffect());
    EXPECT_EQ(pixel(0).Velocity, vector3df(0, 0, 0));
    EXPECT_EQ(pixel(0).FramesLeft, 0);
    EXPECT_EQ(pixel(1).Velocity, flight) << "ten steps out is not yet close";
}

TEST_F(CubeCornersTest, AnUnknownStageChangesNothing) {
    state() = {CubeCornersStage::Start, 42, true};
    expectUnknownStageIgnored(CubeCornersEffect, state(), 3);
}
