#pragma once

// What the show needs of its X11 window beyond what the engine does itself.

namespace platform {

// Asks the window manager to show the window full-screen and above all
// others, places it over the whole display for when no window manager runs,
// and gives it the keyboard focus.
void coverDisplay(void* display, unsigned long window, int width, int height);

// Turns on waiting for the vertical blank where the GL driver offers it,
// catching the errors some drivers answer with instead of dying of them.
bool enableVsync(void* display, unsigned long window);

// The root window of DISPLAY's default screen.
unsigned long rootWindow(void* display);

// Closes a connection the engine opened and left open; nothing for null.
void closeDisplay(void* display);

// Sleeps until the X server has news on DISPLAY, OTHER_FD (when not -1) is
// readable, a signal arrives, or LIMIT_MS milliseconds have passed; sends
// what is queued for the server first.
void waitForEvents(void* display, int otherFd, int limitMs);

} // namespace platform
