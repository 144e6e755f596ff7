#pragma once

// Mounts the picture archive and builds the swarm, the optional circling
// light, the circling camera and the optional sky box; hides the cursor.
void buildScene();
