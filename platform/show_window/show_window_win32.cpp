#include "platform/show_window/show_window.h"

// On Windows the engine's own full-screen window is the show's window: it
// covers the display, takes the focus and waits for the vertical blank by
// itself, so the window layer has nothing to add.

namespace platform {

irr::video::E_DRIVER_TYPE screenDriver() { return irr::video::EDT_DIRECT3D9; }

const char* screenDriverName() { return "Direct3D 9"; }

bool vsyncAtCreation() { return true; }

bool engineMakesFullscreen() { return true; }

unsigned long engineWindowHandle(irr::video::IVideoDriver&) { return 0; }

void coverDisplay(irr::video::IVideoDriver&, int, int) {}

void coverArea(irr::video::IVideoDriver&, ScreenArea) {}

void resizeCover(irr::video::IVideoDriver&, ScreenArea) {}

bool enableVsync(irr::video::IVideoDriver&) { return false; }

// The engine's yield is all the waiting Windows needs.
bool waitForEvents(irr::video::IVideoDriver&, int, int) { return false; }

} // namespace platform
