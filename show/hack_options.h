#pragma once

// The command line of quorvel3d, the screen-saver daemons' program, and the
// window ids the daemons hand it.

#include "show/show.h"

#include <optional>
#include <string>

// X resource ids have 29 bits.
inline constexpr unsigned long kLargestWindowId = 0x1FFFFFFFUL;

// A window id as the daemons write it (0x...), or in decimal; nothing for
// anything else, zero, or a number no window can have.
std::optional<unsigned long> parseWindowId(const char* text);

// Where the show draws, from the arguments after the program's name and the
// value of $XSCREENSAVER_WINDOW (null when unset). Nothing, with the reason
// in problem, when they make no sense.
std::optional<ShowPlace> hackPlace(int argc, const char* const argv[], const char* hostWindow,
                                   std::string& problem);
