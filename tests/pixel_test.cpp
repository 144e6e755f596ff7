#include "tests/support/swarm_fixture.h"

#include <cmath>

using irr::core::vector3df;

namespace {

class PixelTest : public SwarmTest {
protected:
    // A pixel placed by hand, at rest.
    static Pixel& at(const vector3df& position) {
        Pixel& p = pixel(0);
        p.Position = position;
        p.moveTo(position, 1.0f);
        return p;
    }
};

float draw(Random15& random, int m, double offset) {
    return static_cast<float>(random.next() % m / 100.0 + offset);
}

} // namespace

TEST_F(PixelTest, ANewPixelRestsOnTheStartGridWithItsMoveUsedUp) {
    Random15 replay(kSeed);
    for (Pixel* p : swarm()) {
        const float x = draw(replay, 20000, -100);
        const float y = draw(replay, 20000, -100);
        const float z = draw(replay, 20000, -100);
        EXPECT_EQ(p->Position, vector3df(x, y, z));
        EXPECT_EQ(p->Velocity, vector3df(0, 0, 0));
        EXPECT_EQ(p->FramesLeft, 0);
        EXPECT_EQ(p->Moving, 1);
        EXPECT_EQ(p->Phase, 0);
        EXPECT_EQ(p->Node, nullptr) << "no scene, no billboard";
        for (float c : {x, y, z}) {
            EXPECT_GE(c, -100.0f);
            EXPECT_LE(c, 99.99f);
        }
    }
}

TEST_F(PixelTest, MoveToGivesTheStepLengthAndWholeStepsToTheTarget) {
    Pixel& p = at({0, 0, 0});
    p.moveTo({10, 0, 0}, 1.0f);
    EXPECT_FLOAT_EQ(p.Velocity.X, 0.1f);
    EXPECT_EQ(p.Velocity.Y, 0.0f);
    EXPECT_EQ(p.FramesLeft, 100);

    p.Position = {10, 0, 0};
    p.moveTo({0, 0, 0}, -0.5f);
    EXPECT_FLOAT_EQ(p.Velocity.X, 0.05f) << "a negative speed flies away from the target";
    EXPECT_EQ(p.FramesLeft, -200);
}

TEST_F(PixelTest, MoveToWithinArrivesJustAfterTheGivenFrames) {
    Pixel& p = at({0, 0, 0});
    p.moveToWithin({30, 40, 0}, 50);
    EXPECT_NEAR(p.Velocity.getLength(), 0.998004f, 1e-6f);
    EXPECT_EQ(p.FramesLeft, 50);
    for (int i = 0; i < 50; ++i)
        p.step();
    EXPECT_NEAR(p.Position.getDistanceFrom({30, 40, 0}), 0.0998f, 1e-4f);
    EXPECT_LT(p.Position.getLength(), 50.0f);
    p.step();
    EXPECT_GT(p.Position.getLength(), 50.0f) << "the 51st step carries it past";
    EXPECT_EQ(p.FramesLeft, -1);
}

TEST_F(PixelTest, MoveToWithinYieldsExactlyTheFrameCountForAnyDistance) {
    Pixel& p = pixel(0);
    Random15 random(7);
    for (int frames = 1; frames <= 2000; frames += 7) {
        for (int trial = 0; trial < 8; ++trial) {
            p.Position = {draw(random, 40000, -200), draw(random, 40000, -200), draw(random, 40000, -200)};
            const vector3df target(draw(random, 40000, -200), draw(random, 200, -1), draw(random, 2, 0));
            if (target == p.Position)
                continue;
            p.moveToWithin(target, frames);
            ASSERT_EQ(p.FramesLeft, frames) << "from " << p.Position.X << " over " << frames;
        }
    }
}

TEST_F(PixelTest, MoveToWithinNoFramesLandsNineTimesTheDistanceBeyond) {
    Pixel& p = at({0, 0, 0});
    p.moveToWithin({1, 0, 0}, 0);
    EXPECT_EQ(p.FramesLeft, 0);
    p.step();
    EXPECT_NEAR(p.Position.X, 10.0f, 1e-4f);
}

TEST_F(PixelTest, AMoveWithNoDistanceStopsThePixelAndCountsAsArrived) {
    Pixel& p = at({5, 6, 7});
    p.Velocity = {1, 1, 1};
    p.moveToWithin({5, 6, 7}, 30);
    EXPECT_EQ(p.Velocity, vector3df(0, 0, 0));
    EXPECT_EQ(p.FramesLeft, 0);
    p.moveTo({5, 6, 7}, 0.0f);
    EXPECT_EQ(p.FramesLeft, 0) << "no speed gives no frame count, not a crash";
    EXPECT_FALSE(std::isnan(p.Velocity.X));
}

TEST_F(PixelTest, AnUsedUpMoveFliesOnInAStraightLine) {
    Pixel& p = at({0, 0, 0});
    p.moveTo({1, 0, 0}, 1.0f);
    for (int i = 1; i <= 30; ++i)
        p.step();
    EXPECT_EQ(p.FramesLeft, 10 - 30);
    EXPECT_NEAR(p.Position.X, 3.0f, 1e-4f);
    EXPECT_EQ(p.Position.Y, 0.0f);
}

TEST_F(PixelTest, ALandingExactlyOnTheEscapeSphereKeepsItsHeading) {
    Pixel& p = at({0, 0, 199});
    p.Velocity = {0, 0, 1};
    p.step();
    EXPECT_EQ(p.Position, vector3df(0, 0, 200));
    EXPECT_EQ(p.Velocity, vector3df(0, 0, 1));
}

TEST_F(PixelTest, ALandingBeyondTheSphereIsSentBackAndMovesTwice) {
    Pixel& p = at({0, 0, 199});
    p.Velocity = {0, 0, 1.001f};
    Random15 replay = Show.Random;
    p.step();
    const float z = draw(replay, 10000, -50);
    const float y = draw(replay, 10000, -50);
    const float x = draw(replay, 10000, -50);
    const vector3df outside(0, 0, 200.001f);
    const vector3df heading = (vector3df(x, y, z) - outside).normalize();
    EXPECT_NEAR(p.Velocity.getLength(), 0.2f, 1e-6f);
    EXPECT_NEAR(p.Velocity.dotProduct(heading), 0.2f, 1e-5f);
    EXPECT_NEAR(p.Position.getDistanceFrom(outside + p.Velocity), 0.0f, 1e-4f);
    EXPECT_EQ(p.FramesLeft, static_cast<int>(vector3df(x, y, z).getDistanceFrom(outside) * 10 / 2) - 1);
}

TEST_F(PixelTest, AStepDoesNothingUnlessMovingIsExactlyOne) {
    for (const std::int32_t flag : {0, 2, -1}) {
        Pixel& p = at({1, 2, 3});
        p.Velocity = {1, 0, 0};
        p.Moving = flag;
        p.step();
        EXPECT_EQ(p.Position, vector3df(1, 2, 3));
        EXPECT_EQ(p.FramesLeft, 0);
    }
}
