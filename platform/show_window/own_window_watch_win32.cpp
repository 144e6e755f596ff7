#include "platform/show_window/own_window_watch.h"

// On Windows the engine's full-screen window has the input to itself, and
// the system stops the screen saver before it locks or powers the display
// down: the engine's own events are all the show needs.

namespace platform {

OwnWindowWatch::OwnWindowWatch(const DisplayConnection&) {}

OwnWindowWatch::~OwnWindowWatch() = default;

void OwnWindowWatch::watchWindow(unsigned long) {}

void OwnWindowWatch::claimFocusAtStart() {}

void OwnWindowWatch::update() {}

bool OwnWindowWatch::takeScreenChange() { return false; }

int OwnWindowWatch::connectionFd() const { return -1; }

} // namespace platform
