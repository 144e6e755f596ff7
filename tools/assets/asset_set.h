#pragma once

// The show's data files: the six ball pictures and the sky-box picture as
// loose JPEG files under data/, and the archive data01 holding the same files
// under the same paths, so the show finds its pictures in either.

#include "tools/assets/archive.h"

#include <filesystem>
#include <string>
#include <vector>

namespace assets {

inline constexpr const char* kArchiveName = "data01";
inline constexpr const char* kSkyPicturePath = "data/skybox.jpg";

// "data/bb_ball_01.jpg" for number 1, up to "data/bb_ball_06.jpg".
std::string ballPicturePath(int number);

// The seven pictures, encoded, under their paths: balls 1 to 6, then the sky.
std::vector<ZipEntry> drawAssetSet();

// Writes the loose pictures and the archive below outdir, creating folders as
// needed. Each file is written under a temporary name and then renamed, so an
// interrupted run never leaves a half-written picture behind. Throws
// std::runtime_error or std::filesystem::filesystem_error on failure.
void writeAssetSet(const std::filesystem::path& outdir);

} // namespace assets
