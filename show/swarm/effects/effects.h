#pragma once

// Each effect advances by one frame per call: true while it runs, false on
// the call on which it ends, by which time it is back at its first stage.
// Numbered as the scheduler numbers them.

bool ImplosionEffect();    // 1
bool GatherSpreadEffect(); // 2
bool CubeCornersEffect();  // 3
bool ShellBurstEffect();   // 4
bool ClustersEffect();     // 5
bool FocusPointEffect();   // 6
bool FountainEffect();     // 7
bool RisingLayersEffect(); // 8
bool FlattenEffect();      // 9
bool MirrorEffect();       // 10
bool ScatterEffect();      // 11
