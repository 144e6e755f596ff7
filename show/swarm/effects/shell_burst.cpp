// Every pixel heads for the centre, timed to arrive within 200 to 399 frames,
// and a small sphere around the centre all but stops each one as it enters:
// the swarm builds a hollow ball. In a burst run the ball is then sent
// through the centre at once and flies apart.

#include "show/swarm/effects/shell_burst.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/wait_rules.h"

namespace {

constexpr int kCatchSpread = 200; // square world units: radii² 100 to 299
constexpr std::int32_t kCatchBase = 100;
constexpr int kCloseInSpread = 200; // frames: 200 to 399
constexpr std::int32_t kCloseInBase = 200;
constexpr float kCatchSpeed = 0.0001f; // a crawl of 0.00001 units per frame, never a zero-speed move
constexpr int kBurstSpread = 10;       // frames: 5 to 14
constexpr std::int32_t kBurstBase = 5;
constexpr int kBurstFactorSpread = 4; // the burst lasts 4 to 7 times the longest trip
constexpr std::int32_t kBurstFactorBase = 4;
constexpr std::int32_t kNoTripYet = -1;

ShellBurstState& state() { return Show.Effects.ShellBurst; }

bool start() {
    ShellBurstState& s = state();
    s.Wait = 0;
    s.Burst = randomBelow(2) != 0;
    s.CatchRadiusSquared = randomBelow(kCatchSpread) + kCatchBase;
    aimEach([&](Pixel& pixel, std::size_t) {
        pixel.moveToWithin(kOrigin, randomBelow(kCloseInSpread) + kCloseInBase);
        foldLongest(s.Wait, pixel.FramesLeft);
    });
    // Trips of at most 399 frames are never capped, but the cap's draw is made.
    capLongestWait(s.Wait);
    s.Stage = ShellBurstStage::Catching;
    return true;
}

// Compared in single precision: a pixel exactly on the sphere is not caught.
// A caught pixel stays inside and is caught again on every later call.
void catchEntrants(std::int32_t radiusSquared) {
    const auto limit = static_cast<float>(radiusSquared);
    aimEach([&](Pixel& pixel, std::size_t) {
        if (limit > squaredLength(pixel.Position))
            pixel.moveTo(kOrigin, kCatchSpeed);
    });
}

// Every pixel is sent through the centre; the burst then lasts a multiple of
// the longest of these trips.
void burst(ShellBurstState& s) {
    s.Wait = kNoTripYet;
    aimEach([&](Pixel& pixel, std::size_t) {
        pixel.moveToWithin(kOrigin, randomBelow(kBurstSpread) + kBurstBase);
        foldLongest(s.Wait, pixel.FramesLeft);
    });
    s.Wait *= randomBelow(kBurstFactorSpread) + kBurstFactorBase;
}

bool catching() {
    ShellBurstState& s = state();
    if (countDown(s.Wait)) {
        catchEntrants(s.CatchRadiusSquared);
        return true;
    }
    if (!s.Burst)
        return endRun(s);
    burst(s);
    s.Stage = ShellBurstStage::Bursting;
    return true;
}

bool bursting() {
    ShellBurstState& s = state();
    return waitThenEnd(s, s.Wait);
}

constexpr std::array<StageFunction, 3> kStages = {start, catching, bursting};

} // namespace

bool ShellBurstEffect() { return runStage(state().Stage, kStages); }
