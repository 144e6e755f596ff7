#pragma once

// The desktop's idle timer, as the idle runner hears it: when the session
// has gone without input for the time asked, and when input comes again.
// Each source is woken by its own events, never by polling.

#include "platform/session/idle_choice.h"

#include <poll.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class IdleListener {
public:
    virtual void idleBegan() = 0;     // no input for the time asked, and nothing inhibits it
    virtual void activityCame() = 0;  // input again, after idleBegan
    virtual void sessionEnded(const std::string& why) = 0; // the compositor, the bus or the display has gone

protected:
    ~IdleListener() = default;
};

class IdleSource {
public:
    virtual ~IdleSource() = default;
    // What to wait on next; sends what is queued, and tells what has come
    // in already, first.
    virtual std::vector<pollfd> watches() = 0;
    // READY holds the watches given out, with what poll found; what they
    // tell goes to the listener given at the start.
    virtual void handle(const std::vector<pollfd>& ready) = 0;
};

// What the session offers: a Wayland compositor's globals, GNOME's idle
// monitor, and (only where no Wayland compositor answers) an X display's
// screen-saver extension.
SessionOffer probeSession();

// Opens the chosen source, telling LISTENER of idleBegan after IDLE_TIME
// without input; nothing, with WHY set, when it cannot.
std::unique_ptr<IdleSource> openIdleSource(IdleSourceKind kind, std::chrono::milliseconds idleTime,
                                           IdleListener& listener, std::string& why);

// Per kind, for openIdleSource and probeSession.
std::vector<std::string> waylandGlobals(bool& connected);
std::unique_ptr<IdleSource> openWaylandIdle(IdleSourceKind kind, std::chrono::milliseconds idleTime,
                                             IdleListener& listener, std::string& why);
bool mutterIdleMonitorAnswers();
std::unique_ptr<IdleSource> openMutterIdle(std::chrono::milliseconds idleTime, IdleListener& listener,
                                           std::string& why);
bool x11ScreenSaverAnswers();
std::unique_ptr<IdleSource> openX11Idle(std::chrono::milliseconds idleTime, IdleListener& listener,
                                        std::string& why);

} // namespace platform
