#include "show/swarm/effects/effects.h"

bool FocusPointEffect() { return false; } // still to be built: ends at once
