// Three random points inside the central cube: half the swarm flies through
// the first, a quarter each through the other two, every pixel at a speed of
// its own. When the wait ends the whole swarm turns into a slow drift away
// from the centre.

#include "show/swarm/effects/clusters.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/wait_rules.h"

using irr::core::vector3df;

namespace {

constexpr int kPointGrid = 8000; // hundredths: -40.00 to 39.99 on each axis
constexpr double kPointBase = -40.0;
constexpr int kSpeedGrid = 400; // hundredths: speeds 4.00 to 7.99
constexpr double kSpeedBase = 4.0;
constexpr float kDriftSpeed = -0.5f; // negative: 0.05 units per frame away from the centre
constexpr int kDriftFramesSpread = 400;

ClustersState& state() { return Show.Effects.Clusters; }

vector3df randomPoint() {
    const float x = randomHundredths(kPointGrid, kPointBase);
    const float y = randomHundredths(kPointGrid, kPointBase);
    const float z = randomHundredths(kPointGrid, kPointBase);
    return {x, y, z};
}

// Half the pixels take the first point; a second coin splits the rest.
const vector3df& pickPoint(const ClustersState& s) {
    if (randomBelow(2) == 1)
        return s.Points[0];
    return randomBelow(2) == 1 ? s.Points[1] : s.Points[2];
}

bool start() {
    ClustersState& s = state();
    s.Wait = 0;
    for (vector3df& point : s.Points)
        point = randomPoint();
    aimEach([&](Pixel& pixel, std::size_t) {
        const vector3df& point = pickPoint(s);
        pixel.moveTo(point, randomHundredths(kSpeedGrid, kSpeedBase));
        foldLongest(s.Wait, pixel.FramesLeft);
    });
    capLongestWait(s.Wait);
    s.Stage = ClustersStage::Waiting;
    return true;
}

bool waiting() {
    ClustersState& s = state();
    if (countDown(s.Wait))
        return true;
    aimEach([](Pixel& pixel, std::size_t) { pixel.moveTo(kOrigin, kDriftSpeed); });
    s.Wait = randomBelow(kDriftFramesSpread);
    s.Stage = ClustersStage::Drifting;
    return true;
}

bool drifting() {
    ClustersState& s = state();
    return waitThenEnd(s, s.Wait);
}

constexpr std::array<StageFunction, 3> kStages = {start, waiting, drifting};

} // namespace

bool ClustersEffect() { return runStage(state().Stage, kStages); }
