// The swarm rushes through the centre, each pixel at a speed of its own, and
// turns itself inside out; then it all but stops and crawls towards one side.

#include "show/show_state.h"
#include "show/swarm/effects/effects.h"
#include "show/swarm/pixel.h"
#include "show/swarm/wait_rules.h"

using irr::core::vector3df;

namespace {

constexpr int kRushSpeedGrid = 400;      // hundredths: speeds 4.00 to 7.99
constexpr double kRushSpeedBase = 4.0;
const vector3df kCentre(0, 0, 0);
const vector3df kCrawlTarget(100, 0, 0);
constexpr float kCrawlSpeed = 0.2f;      // 0.02 units per frame
constexpr int kCrawlFramesSpread = 500;

ImplosionState& state() { return Show.Effects.Implosion; }

bool aimThroughCentre() {
    ImplosionState& s = state();
    s.Wait = 0;
    for (Pixel* pixel : swarm()) {
        pixel->moveTo(kCentre, randomHundredths(kRushSpeedGrid, kRushSpeedBase));
        foldLongest(s.Wait, pixel->FramesLeft);
    }
    capLongestWait(s.Wait);
    s.Stage = ImplosionStage::Rushing;
    return true;
}

bool rushThenTurn() {
    ImplosionState& s = state();
    if (countDown(s.Wait))
        return true;
    for (Pixel* pixel : swarm())
        pixel->moveTo(kCrawlTarget, kCrawlSpeed);
    s.Wait = randomBelow(kCrawlFramesSpread);
    s.Stage = ImplosionStage::Crawling;
    return true;
}

bool crawl() {
    ImplosionState& s = state();
    if (countDown(s.Wait))
        return true;
    s.Stage = ImplosionStage::Start;
    return false;
}

} // namespace

bool ImplosionEffect() {
    switch (state().Stage) {
    case ImplosionStage::Start:
        return aimThroughCentre();
    case ImplosionStage::Rushing:
        return rushThenTurn();
    case ImplosionStage::Crawling:
        return crawl();
    }
    return true; // a stage it does not know changes nothing
}
