#include "show/swarm/effects/effects.h"

bool MirrorEffect() { return false; } // still to be built: ends at once
