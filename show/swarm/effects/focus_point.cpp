// Every pixel is aimed through one common random point, each at a speed of
// its own, and flies on beyond it until the wait ends.

#include "show/swarm/effects/focus_point.h"

#include "show/swarm/effects/effect_kit.h"

using irr::core::vector3df;

namespace {

constexpr int kWaitSpread = 500; // frames: 500 to 999
constexpr std::int32_t kWaitBase = 500;
constexpr int kAcrossGrid = 4000; // hundredths: x and z from -20.00 to 19.99
constexpr double kAcrossBase = -20.0;
constexpr int kUpGrid = 3000; // hundredths: y from -10.00 to 19.99
constexpr double kUpBase = -10.0;
constexpr int kSpeedGrid = 1200; // hundredths: speeds 4.00 to 15.99
constexpr double kSpeedBase = 4.0;

FocusPointState& state() { return Show.Effects.FocusPoint; }

bool start() {
    FocusPointState& s = state();
    s.Wait = randomBelow(kWaitSpread) + kWaitBase;
    const float x = randomHundredths(kAcrossGrid, kAcrossBase);
    const float y = randomHundredths(kUpGrid, kUpBase);
    const float z = randomHundredths(kAcrossGrid, kAcrossBase);
    s.Focus = vector3df(x, y, z);
    aimEach([&](Pixel& pixel, std::size_t) { pixel.moveTo(s.Focus, randomHundredths(kSpeedGrid, kSpeedBase)); });
    s.Stage = FocusPointStage::Waiting;
    return true;
}

bool waiting() {
    FocusPointState& s = state();
    return waitThenEnd(s, s.Wait);
}

constexpr std::array<StageFunction, 2> kStages = {start, waiting};

} // namespace

bool FocusPointEffect() { return runStage(state().Stage, kStages); }
