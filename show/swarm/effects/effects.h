#pragma once

// Each effect advances by one frame per call: true while it runs, false on
// the call on which it ends, by which time it is back at its first stage.

bool ImplosionEffect();
bool GatherSpreadEffect();

// Stands in for the effects that are still to come: it ends at once.
bool UnfinishedEffect();
