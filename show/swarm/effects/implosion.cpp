// The swarm rushes through the centre, each pixel at a speed of its own, and
// turns itself inside out; then it all but stops and crawls towards one side.

#include "show/swarm/effects/implosion.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/wait_rules.h"

using irr::core::vector3df;

namespace {

constexpr int kRushSpeedGrid = 400; // hundredths: speeds 4.00 to 7.99
constexpr double kRushSpeedBase = 4.0;
const vector3df kCrawlTarget(100, 0, 0);
constexpr float kCrawlSpeed = 0.2f; // 0.02 units per frame
constexpr int kCrawlFramesSpread = 500;

ImplosionState& state() { return Show.Effects.Implosion; }

bool start() {
    ImplosionState& s = state();
    s.Wait = 0;
    aimEach([&](Pixel& pixel, std::size_t) {
        pixel.moveTo(kOrigin, randomHundredths(kRushSpeedGrid, kRushSpeedBase));
        foldLongest(s.Wait, pixel.FramesLeft);
    });
    capLongestWait(s.Wait);
    s.Stage = ImplosionStage::Rushing;
    return true;
}

// When the wait runs out every pixel turns at once, wherever it is.
bool rushing() {
    ImplosionState& s = state();
    if (countDown(s.Wait))
        return true;
    aimEach([](Pixel& pixel, std::size_t) { pixel.moveTo(kCrawlTarget, kCrawlSpeed); });
    s.Wait = randomBelow(kCrawlFramesSpread);
    s.Stage = ImplosionStage::Crawling;
    return true;
}

bool crawling() {
    ImplosionState& s = state();
    return waitThenEnd(s, s.Wait);
}

constexpr std::array<StageFunction, 3> kStages = {start, rushing, crawling};

} // namespace

bool ImplosionEffect() { return runStage(state().Stage, kStages); }
