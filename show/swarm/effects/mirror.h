#pragma once

#include "show/swarm/effects/transform_flight.h"

using MirrorState = TransformState;

bool MirrorEffect();
