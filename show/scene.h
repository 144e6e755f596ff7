#pragma once

// Mounts the picture archive and builds the swarm, the optional circling
// light, the circling camera and the optional sky box; hides the cursor.
void buildScene();

// How the swarm reaches the screen: in one pass, through the node that
// draws every billboard (the show's way), or node by node, as the engine
// draws billboards on its own (kept for comparison).
enum class SwarmDrawing { OnePass, NodeByNode };
void drawSwarm(SwarmDrawing how);
