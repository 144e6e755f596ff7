#pragma once

// One idle runner per session: a lock, held for the runner's life, on a
// file named after the session's display in the user's runtime folder.

#include <optional>
#include <string>

namespace idle {

class SessionLock {
public:
    // Takes the lock for the session that WAYLAND_DISPLAY, else DISPLAY,
    // names; check held(), else holder() says who has it.
    SessionLock();
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    bool held() const { return Held; }
    std::string holder() const { return Holder; } // "pid 1234", or why the lock could not be taken
    std::string path() const { return Path; }

private:
    int Fd = -1;
    bool Held = false;
    std::string Holder;
    std::string Path;
};

// The name part for a display: "wayland-1", "x11-0".
std::string sessionKey(const char* waylandDisplay, const char* x11Display);

} // namespace idle
