// The swarm spreads into a wide, thin floor below the centre, then contracts
// and rises into a narrower slab, then gathers into a small slab level with
// the centre. Each slab is 5 units thick; every pixel takes a new random place
// in each, and the whole swarm moves in lockstep.

#include "show/swarm/effects/rising_layers.h"

#include "show/swarm/effects/box_flight.h"
#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/wait_rules.h"

namespace {

constexpr int kSlabThickness = 500; // hundredths: 5 world units

// Each layer: its frame count (base, spread), then the x, y and z of its
// slab, each a grid in hundredths and an offset in world units.
constexpr std::array<BoxLeg, 3> kLayers = {{
    {100, 100, {{10000, -50.0}, {kSlabThickness, -30.0}, {10000, -50.0}}},
    {70, 50, {{8000, -40.0}, {kSlabThickness, -20.0}, {8000, -40.0}}},
    {40, 20, {{4000, -20.0}, {kSlabThickness, 0.0}, {4000, -20.0}}},
}};

RisingLayersState& state() { return Show.Effects.RisingLayers; }

bool beginLayer(std::size_t layer, RisingLayersStage next) {
    RisingLayersState& s = state();
    s.Frames = flyLeg(kLayers[layer]);
    s.Stage = next;
    return true;
}

bool start() { return beginLayer(0, RisingLayersStage::FirstLayer); }

// Each layer's flight ends on the call that starts the next one.
bool firstLayer() {
    if (countDown(state().Frames))
        return true;
    return beginLayer(1, RisingLayersStage::SecondLayer);
}

bool secondLayer() {
    if (countDown(state().Frames))
        return true;
    return beginLayer(2, RisingLayersStage::ThirdLayer);
}

bool thirdLayer() {
    return waitThenEnd(state(), state().Frames);
}

constexpr std::array<StageFunction, 4> kStages = {start, firstLayer, secondLayer, thirdLayer};

} // namespace

bool RisingLayersEffect() { return runStage(state().Stage, kStages); }
