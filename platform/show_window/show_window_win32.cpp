#include "platform/show_window/show_window.h"

#include <windows.h>

#include <cstdint>

// On Windows the engine's own full-screen window is the show's window: it
// covers the display, takes the focus and waits for the vertical blank by
// itself, so the window layer has nothing to add.

namespace platform {

void coverDisplay(void*, unsigned long, int, int) {}

bool enableVsync(void*, unsigned long) { return false; }

unsigned long rootWindow(void*) {
    // Window handles keep to 32 bits on 64-bit Windows.
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(GetDesktopWindow()));
}

void closeDisplay(void*) {}

// The thread's message queue is the only source of news on Windows.
void waitForEvents(void*, int, int limitMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(limitMs), QS_ALLINPUT);
}

} // namespace platform
