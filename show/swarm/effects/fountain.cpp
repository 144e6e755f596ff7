#include "show/swarm/effects/effects.h"

bool FountainEffect() { return false; } // still to be built: ends at once
