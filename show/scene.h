#pragma once

// Mounts the picture archive and builds the swarm, the optional circling
// light, the circling camera and the optional sky box; hides the cursor.
void buildScene();

// Makes the archive "data01" of the working folder visible to the engine's
// file system, which then looks in it before the disk; an archive that the
// engine's reader could not take is left out.
void mountPictureArchive();

// How the swarm reaches the screen: in one pass, through the node that
// draws every billboard (the show's way), or node by node, as the engine
// draws billboards on its own (kept for comparison).
enum class SwarmDrawing { OnePass, NodeByNode };
void drawSwarm(SwarmDrawing how);
