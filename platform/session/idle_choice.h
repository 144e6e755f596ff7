#pragma once

// Which of the desktop's own idle timers the idle runner listens to, from
// what the session offers. Plain logic: the probing is elsewhere.

#include <string>
#include <variant>
#include <vector>

namespace platform {

enum class IdleSourceKind {
    ExtIdleNotify,     // Wayland: ext_idle_notifier_v1
    KdeIdle,           // Wayland: org_kde_kwin_idle
    MutterIdleMonitor, // GNOME, on Wayland or X11: org.gnome.Mutter.IdleMonitor on the session bus
    X11ScreenSaver,    // X11: the MIT-SCREEN-SAVER extension
};

struct SessionOffer {
    bool Wayland = false;                   // a Wayland compositor answered
    std::vector<std::string> WaylandGlobals; // the interfaces it announced
    bool MutterIdleMonitor = false;         // the name has an owner on the session bus
    bool X11ScreenSaver = false;            // an X display with MIT-SCREEN-SAVER opened
};

// What is missing, in words for the one line the runner leaves with.
struct NoIdleSource {
    std::string Missing;
};

// A Wayland compositor's own protocols come first; GNOME's monitor next,
// since it also knows the session's inhibitors; the X server's idle time
// last, and never under a Wayland compositor, whose input XWayland does
// not see.
std::variant<IdleSourceKind, NoIdleSource> chooseIdleSource(const SessionOffer& offer);

// How the choice is named in messages: "ext-idle-notify-v1 (Wayland)".
const char* idleSourceName(IdleSourceKind kind);

} // namespace platform
