// The swarm scatters to random points of the cube of half-width 100, every
// pixel arriving on the same frame. The cube lies inside the escape sphere,
// so the arriving pixels are left alone.

#include "show/swarm/effects/scatter.h"

#include "show/swarm/effects/box_flight.h"
#include "show/swarm/effects/effect_kit.h"

namespace {

constexpr HundredthsRange kCubeSide = {20000, -100.0}; // -100.00 to 99.99
constexpr BoxLeg kScatter = {150, 100, {kCubeSide, kCubeSide, kCubeSide}};

ScatterState& state() { return Show.Effects.Scatter; }

bool start() {
    ScatterState& s = state();
    s.Frames = flyLeg(kScatter);
    s.Stage = ScatterStage::Flying;
    return true;
}

bool flying() {
    return waitThenEnd(state(), state().Frames);
}

constexpr std::array<StageFunction, 2> kStages = {start, flying};

} // namespace

bool ScatterEffect() { return runStage(state().Stage, kStages); }
