// The swarm gathers below the centre, the pixels arriving one after another;
// each rises on arrival to a horizontal bar, then moves sideways and down onto
// the wall on its own side of the centre, and stops there. Every pixel keeps
// its leg of the path in its Phase and is taken on when its flight ends.

#include "show/swarm/effects/fountain.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/wait_rules.h"

using irr::core::vector3df;

namespace {

constexpr std::int32_t kRunFramesBase = 500; // frames: 500 to 699
constexpr int kRunFramesSpread = 200;
constexpr std::int32_t kDelayShare = 3; // arrivals spread over the first third of the run
const vector3df kGatheringPoint(0, -10, 0);
constexpr int kBarGrid = 8000; // hundredths: x from -40.00 to 39.99
constexpr double kBarOffset = -40.0;
constexpr float kBarHeight = 40.0f;
constexpr float kWallX = 40.0f;      // the walls stand at x = -40 and x = +40
constexpr int kWallDepthGrid = 1000; // hundredths: z from -5.00 to 4.99
constexpr double kWallDepthOffset = -5.0;
constexpr int kWallHeightGrid = 4000; // hundredths: y from 0.00 to 39.99
constexpr double kWallHeightOffset = 0.0;
constexpr float kLegSpeed = 2.0f; // 0.2 units per frame
constexpr float kStopSpeed = 1.0f;

enum class Phase : std::int32_t { Gathering = 1, Rising = 2, Crossing = 3, Stopped = 4 };

FountainState& state() { return Show.Effects.Fountain; }

void rise(Pixel& pixel) {
    const float x = randomHundredths(kBarGrid, kBarOffset);
    pixel.moveTo(vector3df(x, kBarHeight, 0), kLegSpeed);
}

// A pixel at x exactly 0 counts as being on the right.
void cross(Pixel& pixel) {
    const float side = pixel.Position.X < 0 ? -kWallX : kWallX;
    const float z = randomHundredths(kWallDepthGrid, kWallDepthOffset);
    const float y = randomHundredths(kWallHeightGrid, kWallHeightOffset);
    pixel.moveTo(vector3df(side, y, z), kLegSpeed);
}

void stop(Pixel& pixel) { pixel.moveTo(pixel.Position, kStopSpeed); }

// One action at most, and only on the call that finds the flight just ended.
// A phase outside the path (the run has not set it) is left alone too.
void takeOn(Pixel& pixel) {
    if (pixel.FramesLeft != 0)
        return;
    switch (static_cast<Phase>(pixel.Phase)) {
    case Phase::Gathering:
        rise(pixel);
        break;
    case Phase::Rising:
        cross(pixel);
        break;
    case Phase::Crossing:
        stop(pixel);
        break;
    default:
        return;
    }
    ++pixel.Phase;
}

bool start() {
    FountainState& s = state();
    s.FramesLeft = kRunFramesBase + randomBelow(kRunFramesSpread);
    const std::int32_t delays = s.FramesLeft / kDelayShare;
    aimEach([&](Pixel& pixel, std::size_t) {
        pixel.moveToWithin(kGatheringPoint, randomBelow(delays));
        pixel.Phase = static_cast<std::int32_t>(Phase::Gathering);
    });
    s.Stage = FountainStage::Running;
    return true;
}

// The last call looks at no pixel.
bool running() {
    FountainState& s = state();
    if (!countDown(s.FramesLeft))
        return endRun(s);
    aimEach([](Pixel& pixel, std::size_t) { takeOn(pixel); });
    return true;
}

constexpr std::array<StageFunction, 2> kStages = {start, running};

} // namespace

bool FountainEffect() { return runStage(state().Stage, kStages); }
