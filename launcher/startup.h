#pragma once

// The launcher's command line and its three modes: run the show, answer a
// preview request, or open the options dialog.

#include <array>
#include <cstddef>
#include <string_view>

namespace launcher {

enum class LaunchMode { RunShow, Preview, Configure };

// Receives the command line and later the install directory; the size of
// the longest path the system accepts.
inline constexpr std::size_t kPathBufferSize = 4096;
using PathBuffer = std::array<char, kPathBufferSize>;

#ifdef _WIN32
inline constexpr const char* kShowProgram = "qvshow.exe";
#else
inline constexpr const char* kShowProgram = "qvshow";
#endif

// The arguments after the program name joined by single spaces, leading
// blanks skipped, copied into buffer. A longer command line is cut to what
// the buffer holds; only its first two characters matter.
std::string_view joinCommandLine(int argc, const char* const argv[], PathBuffer& buffer);

// A slash followed by S or P (either case) chooses the show or the preview;
// anything else configures.
LaunchMode classify(std::string_view commandLine);

// Starts the show from the install directory and waits for it to end; a
// show that cannot be started is reported in a message box.
void runShow();

// Runs one mode to its end. Gives the exit code, which is always 0. The
// options dialog needs an application object with a display.
int runMode(LaunchMode mode);

} // namespace launcher
