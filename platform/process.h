#pragma once

// Starting a program and waiting for it to end.

#include <optional>
#include <sys/types.h>

namespace platform {

// Starts the program named by a bare file name, with no arguments, in the
// given working directory (empty: the current one). The program is looked
// for in that directory first, then on PATH. Gives its process id, or
// nothing when it could not be started.
std::optional<pid_t> startProgram(const char* fileName, const char* workingDirectory);

// Blocks without a time-out until the process has ended.
void waitForExit(pid_t process);

} // namespace platform
