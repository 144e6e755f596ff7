#include "platform/show_window/show_window_embedded.h"

// On Windows the show draws only into its own window: the screen saver's
// preview ends at once instead of starting the show. A window that is never
// open keeps the show from creating its device.

namespace platform {

EmbeddedWindow::EmbeddedWindow(void* display, unsigned long host, EngineVisualRequest)
    : Dpy(display), Host(host) {}

EmbeddedWindow::~EmbeddedWindow() = default;

void EmbeddedWindow::shareWithEngine(void*) const {}

void EmbeddedWindow::update() { Gone = true; }

int EmbeddedWindow::connectionFd() const { return -1; }

} // namespace platform
