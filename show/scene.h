#pragma once

// Mounts the picture archive and builds the swarm, the optional circling
// light, the circling camera and the optional sky box; hides the cursor.
void buildScene();

// Makes the archive "data01" of the working folder visible to the engine's
// file system, which then looks in it before the disk; a file that does not
// end as an archive does is left out.
void mountPictureArchive();
