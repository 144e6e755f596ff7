#pragma once

// What else the idle runner asks of the desktop session.

#include <optional>
#include <string>

namespace platform {

// The screen-saver daemon that already runs this session's screen saver:
// "xscreensaver" (its version on the X root window) or "mate-screensaver"
// (its name on the session bus). Under a Wayland compositor the X display
// is not asked: neither daemon runs there, and asking would start XWayland.
std::optional<std::string> screenSaverDaemon(bool wayland);

// The monitors of the X display the shows draw on; 0 without a display.
int monitorCount();

// For screenSaverDaemon.
bool sessionBusNameOwned(const char* name);
bool xscreensaverRuns();

} // namespace platform
