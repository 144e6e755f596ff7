#include "platform/show_window/show_window_embedded.h"

// On Windows the show draws only into its own window: the screen saver's
// preview ends at once instead of starting the show. A window that is never
// open keeps the show from creating its device.

namespace platform {

EmbeddedWindow::EmbeddedWindow(const DisplayConnection&, unsigned long host, EngineVisualRequest) : Host(host) {}

EmbeddedWindow::~EmbeddedWindow() = default;

void EmbeddedWindow::shareWithEngine(irr::video::IVideoDriver&) {}

void EmbeddedWindow::closeEngineConnection() {}

void EmbeddedWindow::update() { Gone = true; }

int EmbeddedWindow::connectionFd() const { return -1; }

} // namespace platform
