#include "show/swarm/effects/effects.h"

bool UnfinishedEffect() { return false; }
