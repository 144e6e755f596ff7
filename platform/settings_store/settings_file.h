#pragma once

// Where the settings files live, following the XDG base directory rules:
// the user's file, which is read first and is the only one written, and the
// system-wide files, which fill in values the user's file lacks.

#include <filesystem>
#include <vector>

namespace platform {

inline constexpr const char* kSettingsFolder = "quorvel3d";
inline constexpr const char* kSettingsFileName = "settings.reg";

// Empty when no home folder can be found.
std::filesystem::path userSettingsFile();
std::vector<std::filesystem::path> systemSettingsFiles();

} // namespace platform
