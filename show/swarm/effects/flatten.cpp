// The swarm keeps its shape but is squashed by a factor of ten: onto one of
// the three coordinate planes, or, twice as often, onto the vertical axis.

#include "show/swarm/effects/flatten.h"

#include "show/swarm/effects/effect_kit.h"
#include "show/swarm/effects/transform_flight.h"

using irr::core::vector3df;

namespace {

constexpr float kSquash = 0.1f;

// Drawn with equal shares; the column has two entries.
const std::array<vector3df, 5> kSquashes = {
    vector3df(kSquash, 1, 1),       // onto the plane x = 0
    vector3df(1, kSquash, 1),       // onto the plane y = 0
    vector3df(1, 1, kSquash),       // onto the plane z = 0
    vector3df(kSquash, 1, kSquash), // onto the vertical axis
    vector3df(kSquash, 1, kSquash),
};

TransformState& state() { return Show.Effects.Flatten; }

bool start() { return startTransformFlight(state(), kSquashes); }

bool flying() { return flyTransformFlight(state()); }

constexpr std::array<StageFunction, 2> kStages = {start, flying};

} // namespace

bool FlattenEffect() { return runStage(state().Stage, kStages); }
