#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// The show loads its pictures by paths relative to its working folder. A
// program that others start from anywhere first moves into the folder that
// holds them: the first of CANDIDATES with the archive "data01" or a "data"
// folder. Empty candidates are skipped.
std::optional<std::filesystem::path> firstPictureFolder(const std::vector<std::filesystem::path>& candidates);
