#pragma once

// The licence text file of the installation, as the about box shows it.

#include <cstddef>
#include <optional>
#include <string>

namespace launcher {

inline constexpr const char* kLicenceFileName = "License.txt";
inline constexpr std::size_t kLicencePathSize = 512;   // bytes, with the terminating zero
inline constexpr std::size_t kLicenceMaxChars = 16384; // characters shown at most

// The licence text of the installation in installDir, which is expected to
// end with '/': the file name follows it directly. At most kLicenceMaxChars
// characters, a CR LF pair read as one line feed. Nothing when the file
// cannot be opened or read, or its path does not fit kLicencePathSize.
std::optional<std::string> readLicence(const char* installDir);

// The first characters of a file in text mode, as above.
std::optional<std::string> readTextFile(const char* path, std::size_t maxChars);

} // namespace launcher
