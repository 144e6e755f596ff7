// The swarm mirrors its shape across one of the three coordinate planes:
// every pixel flies straight through the plane to its own mirror image.

#include "show/swarm/effects/mirror.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/effects/transform_flight.h"

using irr::core::vector3df;

namespace {

const std::array<vector3df, 3> kMirrors = {
    vector3df(-1, 1, 1), // across the plane x = 0
    vector3df(1, -1, 1), // across the plane y = 0: upside down
    vector3df(1, 1, -1), // across the plane z = 0
};

TransformState& state() { return Show.Effects.Mirror; }

bool start() { return startTransformFlight(state(), kMirrors); }

bool flying() { return flyTransformFlight(state()); }

constexpr std::array<StageFunction, 2> kStages = {start, flying};

} // namespace

bool MirrorEffect() { return runStage(state().Stage, kStages); }
