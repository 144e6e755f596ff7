#pragma once

// What several effects share: the centre they aim at, the dispatch of a call
// to the stage that serves it, the end of a run, and one pass over the swarm.

#include "show/show_state.h"
#include "show/swarm/pixel.h"
#include "show/swarm/wait_rules.h"

#include <array>
#include <cstddef>
#include <cstdint>

const irr::core::vector3df kOrigin(0, 0, 0);

// x² + y² + z², each product and sum rounded to single precision: the escape
// rule and the catching sphere both compare it as a float.
inline float squaredLength(const irr::core::vector3df& v) { return v.X * v.X + v.Y * v.Y + v.Z * v.Z; }

using StageFunction = bool (*)();

// Runs the function that serves the given stage; stages are numbered from 1.
// A stage the effect does not know changes nothing and keeps it running.
template <typename Stage, std::size_t Count>
bool runStage(Stage stage, const std::array<StageFunction, Count>& stages) {
    const auto number = static_cast<std::int64_t>(stage);
    if (number < 1 || number > static_cast<std::int64_t>(Count))
        return true;
    return stages[static_cast<std::size_t>(number - 1)]();
}

// The last call of a run: the effect is set back to its first stage, so that
// its next run starts afresh.
template <typename State>
bool endRun(State& state) {
    state.Stage = decltype(state.Stage)::Start;
    return false;
}

// A run's last stage: a count-down wait whose last call ends the run.
template <typename State>
bool waitThenEnd(State& state, std::int32_t& wait) {
    if (countDown(wait))
        return true;
    return endRun(state);
}

// Visits the pixels in use in index order; aim(pixel, index) gives each its move.
template <typename Aim>
void aimEach(Aim aim) {
    const PixelRange pixels = swarm();
    for (std::size_t index = 0; index < pixels.size(); ++index)
        aim(*pixels.First[index], index);
}
