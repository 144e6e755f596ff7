#include "show/swarm/effects/effects.h"

bool ScatterEffect() { return false; } // still to be built: ends at once
