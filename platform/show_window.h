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

} // namespace platform
