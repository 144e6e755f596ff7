// Every pixel flies to one of the eight corners of a cube around the centre,
// each at a speed of its own. In a held run each pixel freezes once it is
// fewer than ten steps from its corner; in a free run the swarm flies on past
// the corners until the wait ends.

#include "show/swarm/effects/cube_corners.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/wait_rules.h"

using irr::core::vector3df;

namespace {

constexpr int kCornerGrid = 100; // hundredths: 60.00 to 60.99 from the centre on each axis
constexpr double kCornerBase = 60.0;
constexpr int kSpeedGrid = 200; // hundredths: speeds 4.00 to 5.99
constexpr double kSpeedBase = 4.0;
constexpr std::int32_t kHoldFrames = 10; // a pixel closer than this many steps is frozen
constexpr float kHoldSpeed = 1.0f;       // any positive speed: the move is to where it stands

CubeCornersState& state() { return Show.Effects.CubeCorners; }

bool coin() { return randomBelow(2) != 0; }

// One coordinate of a corner: its magnitude, then its sign.
float cornerCoordinate() {
    const float magnitude = randomHundredths(kCornerGrid, kCornerBase);
    return coin() ? -magnitude : magnitude;
}

bool start() {
    CubeCornersState& s = state();
    s.Hold = coin();
    s.Wait = 0;
    aimEach([&](Pixel& pixel, std::size_t) {
        const float x = cornerCoordinate();
        const float y = cornerCoordinate();
        const float z = cornerCoordinate();
        const float speed = randomHundredths(kSpeedGrid, kSpeedBase);
        pixel.moveTo(vector3df(x, y, z), speed);
        foldLongest(s.Wait, pixel.FramesLeft);
    });
    capLongestWait(s.Wait);
    s.Stage = CubeCornersStage::Flying;
    return true;
}

// The test comes before the frame's step, so a pixel found 9 steps out stops
// 9 to 10 steps short of its corner. A stopped pixel is stopped again on every
// later call, to no further effect.
void holdArrivals() {
    aimEach([](Pixel& pixel, std::size_t) {
        if (pixel.FramesLeft < kHoldFrames)
            pixel.moveTo(pixel.Position, kHoldSpeed);
    });
}

bool flying() {
    CubeCornersState& s = state();
    if (!countDown(s.Wait))
        return endRun(s);
    if (s.Hold)
        holdArrivals();
    return true;
}

constexpr std::array<StageFunction, 2> kStages = {start, flying};

} // namespace

bool CubeCornersEffect() { return runStage(state().Stage, kStages); }
