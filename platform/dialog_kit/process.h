#pragma once

// Starting a program and waiting for it to end.

#include <optional>
#ifndef _WIN32
#include <sys/types.h>
#endif

namespace platform {

#ifdef _WIN32
using ProcessHandle = void*; // the process object's handle
#else
using ProcessHandle = pid_t;
#endif

// Starts the program named by a bare file name, with no arguments, in the
// given working directory (empty: the current one). The program is looked
// for in that directory first, then on PATH; without a directory only on
// PATH. Gives its process id, or nothing when it could not be started.
// On POSIX systems, from then until waitForExit returns, SIGTERM, SIGINT or
// SIGHUP sent to us is passed on to the program as SIGTERM, so that it does
// not outlive us.
std::optional<ProcessHandle> startProgram(const char* fileName, const char* workingDirectory);

// Blocks without a time-out until the process has ended. When a signal
// asked us to end meanwhile, we then end by that signal and do not return.
void waitForExit(ProcessHandle process);

} // namespace platform
