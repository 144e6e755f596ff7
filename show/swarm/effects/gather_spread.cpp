// The whole swarm arrives at the centre on one frame, then spreads into a
// solid cube or into three squares crossing at right angles. Pixel 0's
// frame count is the clock: every pixel is given the same count.

#include "show/swarm/effects/gather_spread.h"

#include "show/swarm/effects/effect_kit.h"

using irr::core::vector3df;

namespace {

constexpr int kHalfWidthSpread = 30; // world units: half-widths 15 to 44
constexpr int kHalfWidthBase = 15;
constexpr int kGatherFramesSpread = 200; // frames: 200 to 399
constexpr int kGatherFramesBase = 200;
constexpr int kCubeFramesSpread = 10; // frames: 100 to 109
constexpr int kCubeFramesBase = 100;
constexpr int kSquareFrames = 100;
constexpr int kThinGrid = 20; // hundredths: -0.10 to 0.09
constexpr double kThinOffset = -static_cast<double>(0.1f);
constexpr int kSquareCount = 3;
constexpr int kHundredthsPerUnit = 100;

enum class Figure { Squares = 0, Cube = 1 };
enum class SquarePlane { Horizontal = 0, FacingZ = 1, FacingX = 2 };

GatherSpreadState& state() { return Show.Effects.GatherSpread; }

bool clockRunning() { return Show.Pixels[0]->FramesLeft >= 0; }

// From -H to H - 0.01 on the 0.01 grid.
float wide(int halfWidth) { return randomHundredths(2 * kHundredthsPerUnit * halfWidth, -halfWidth); }

float thin() { return randomHundredths(kThinGrid, kThinOffset); }

void spreadIntoCube(int halfWidth) {
    aimEach([&](Pixel& pixel, std::size_t) {
        const int frames = randomBelow(kCubeFramesSpread) + kCubeFramesBase;
        const float z = wide(halfWidth);
        const float y = wide(halfWidth);
        const float x = wide(halfWidth);
        pixel.moveToWithin(vector3df(x, y, z), frames);
    });
}

// Each pixel picks one of three squares; the coordinates are drawn z first.
void spreadIntoSquares(int halfWidth) {
    aimEach([&](Pixel& pixel, std::size_t) {
        const auto plane = static_cast<SquarePlane>(randomBelow(kSquareCount));
        const float z = plane == SquarePlane::FacingZ ? thin() : wide(halfWidth);
        const float y = plane == SquarePlane::Horizontal ? thin() : wide(halfWidth);
        const float x = plane == SquarePlane::FacingX ? thin() : wide(halfWidth);
        pixel.moveToWithin(vector3df(x, y, z), kSquareFrames);
    });
}

bool start() {
    GatherSpreadState& s = state();
    s.HalfWidth = randomBelow(kHalfWidthSpread) + kHalfWidthBase;
    const int frames = randomBelow(kGatherFramesSpread) + kGatherFramesBase;
    aimEach([&](Pixel& pixel, std::size_t) { pixel.moveToWithin(kOrigin, frames); });
    s.Stage = GatherSpreadStage::Gathering;
    return true;
}

bool gathering() {
    if (clockRunning())
        return true;
    GatherSpreadState& s = state();
    if (static_cast<Figure>(randomBelow(2)) == Figure::Cube)
        spreadIntoCube(s.HalfWidth);
    else
        spreadIntoSquares(s.HalfWidth);
    s.Stage = GatherSpreadStage::Spreading;
    return true;
}

bool spreading() {
    if (clockRunning())
        return true;
    return endRun(state());
}

constexpr std::array<StageFunction, 3> kStages = {start, gathering, spreading};

} // namespace

bool GatherSpreadEffect() { return runStage(state().Stage, kStages); }
