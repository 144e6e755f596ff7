#pragma once

#include "show/swarm/effects/effect_table.h"

#include <cstdint>

// The effect that the scheduler runs under a number from 1 to kEffectCount,
// or null for any other number.
EffectFunction effectNumbered(std::int32_t number);

// Advances the current effect by one frame, or picks the next one, then
// steps every pixel. False once the user has asked to quit.
bool updateSwarm();
