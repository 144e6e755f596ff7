#pragma once

// What the show needs of the engine's window beyond what the engine does
// itself. Each call reads the window from the engine's driver; for a driver
// that draws into no window of this system (the null driver) it does nothing.

#include "platform/show_window/screen.h"

#include <irrlicht.h>

namespace platform {

// The engine driver that draws on this platform's screen (OpenGL on X11,
// Direct3D 9 on Windows), and its name for messages.
irr::video::E_DRIVER_TYPE screenDriver();
const char* screenDriverName();

// Whether the engine itself is asked for vsync when the device is created.
// Some GLX drivers answer the engine's request with an error that ends the
// process, so on X11 enableVsync turns it on afterwards instead.
bool vsyncAtCreation();

// Whether the engine makes the show's full-screen window itself. The X11
// engine's full-screen mode changes the screen's video mode and grabs the
// keyboard and the pointer for as long as it runs, which keeps every screen
// locker from locking; there the engine makes an ordinary window, and
// coverDisplay makes it cover the display.
bool engineMakesFullscreen();

// The engine's window as the window system names it; 0 for the null driver.
unsigned long engineWindowHandle(irr::video::IVideoDriver& driver);

// Asks the window manager to show the window full-screen and above all
// others, places it over the whole display for when no window manager runs,
// and gives it the keyboard focus. It takes no grab, and raises the window
// only now, over the windows that came before it: a locker that comes later
// stays on top.
void coverDisplay(irr::video::IVideoDriver& driver, int width, int height);

// Asks the window manager to show the window full-screen on the monitor at
// AREA. Where it keeps the window elsewhere (sway puts every new window on
// the output that has the focus; KWin moves no window once it is mapped),
// the window leaves its care and covers AREA by itself instead.
void coverArea(irr::video::IVideoDriver& driver, ScreenArea area);

// Follows a change of the screen's size: the window covers AREA again,
// where no window manager does it for a full-screen window. Never raises it.
void resizeCover(irr::video::IVideoDriver& driver, ScreenArea area);

// Turns on waiting for the vertical blank where the GL driver offers it,
// catching the errors some drivers answer with instead of dying of them.
bool enableVsync(irr::video::IVideoDriver& driver);

// Sleeps until the window system has news for the engine's window, OTHER_FD
// (when not -1) is readable, a signal arrives, or LIMIT_MS milliseconds have
// passed; sends what is queued for the server first. False, at once, where
// there is nothing to wait on: the caller yields instead.
bool waitForEvents(irr::video::IVideoDriver& driver, int otherFd, int limitMs);

} // namespace platform
