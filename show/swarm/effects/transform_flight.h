#pragma once

// Flatten and mirror share one machine: every pixel flies from where it is to
// a transformed copy of its position, all with the same frame count, so the
// swarm keeps the shape it had and is transformed as a whole. The effects
// differ only in their tables of transformations, each a factor per axis.

#include <vector3d.h>

#include <array>
#include <cstddef>
#include <cstdint>

enum class TransformStage : std::int32_t { Start = 1, Flying = 2 };

struct TransformState {
    TransformStage Stage = TransformStage::Start;
    std::int32_t Frames = 0; // of the flight, then its countdown
};

// Draws the frame count, then the transformation k from the table, and aims
// every pixel at its position scaled by the table's factors, axis by axis.
bool startTransformFlight(TransformState& state, const irr::core::vector3df* factors, int count);

template <std::size_t Count>
bool startTransformFlight(TransformState& state, const std::array<irr::core::vector3df, Count>& factors) {
    return startTransformFlight(state, factors.data(), static_cast<int>(Count));
}

// Counts the flight down; the call that takes it below zero ends the run.
bool flyTransformFlight(TransformState& state);
