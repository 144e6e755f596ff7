#include "show/swarm/effects/effects.h"

bool ShellBurstEffect() { return false; } // still to be built: ends at once
