#include "show/swarm/effects/effects.h"

bool FlattenEffect() { return false; } // still to be built: ends at once
