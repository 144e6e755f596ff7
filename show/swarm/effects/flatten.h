#pragma once

#include "show/swarm/effects/transform_flight.h"

using FlattenState = TransformState;

bool FlattenEffect();
