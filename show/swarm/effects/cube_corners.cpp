#include "show/swarm/effects/effects.h"

bool CubeCornersEffect() { return false; } // still to be built: ends at once
