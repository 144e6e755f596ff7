#include "show/swarm/effects/effects.h"

bool ClustersEffect() { return false; } // still to be built: ends at once
