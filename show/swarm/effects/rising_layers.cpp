#include "show/swarm/effects/effects.h"

bool RisingLayersEffect() { return false; } // still to be built: ends at once
