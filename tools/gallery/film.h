#pragma once

#include "tools/gallery/effect_runs.h"

#include <string>
#include <vector>

struct FilmOptions {
    std::string Out;            // the animated WebP file
    double ClipSeconds = 3.0;   // of each effect, at the show's pace
    int ShowFramesPerFrame = 3; // the film keeps every third frame of the show
};

// A film of the running show (set up and built on the OpenGL driver, its
// clock stopped at 0), half the size it is drawn at: a clip from the middle of each run in RUNS, in the
// order they come, each captioned with its effect's number and name. Every
// frame of the show moves the engine's clock by one refresh at 60 Hz, so
// the camera circles as on screen and the same runs give the same film.
bool makeFilm(const std::vector<EffectRun>& runs, const FilmOptions& options);
