#include "platform/session/idle_source.h"
#include "platform/session/session.h"

namespace platform {

SessionOffer probeSession() {
    SessionOffer offer;
    offer.WaylandGlobals = waylandGlobals(offer.Wayland);
    offer.MutterIdleMonitor = mutterIdleMonitorAnswers();
    // Under a Wayland compositor that starts XWayland on demand, opening the
    // display would start it for nothing.
    if (!offer.Wayland)
        offer.X11ScreenSaver = x11ScreenSaverAnswers();
    return offer;
}

std::unique_ptr<IdleSource> openIdleSource(IdleSourceKind kind, std::chrono::milliseconds idleTime,
                                           IdleListener& listener, std::string& why) {
    switch (kind) {
    case IdleSourceKind::ExtIdleNotify:
    case IdleSourceKind::KdeIdle: return openWaylandIdle(kind, idleTime, listener, why);
    case IdleSourceKind::MutterIdleMonitor: return openMutterIdle(idleTime, listener, why);
    case IdleSourceKind::X11ScreenSaver: return openX11Idle(idleTime, listener, why);
    }
    return nullptr;
}

std::optional<std::string> screenSaverDaemon(bool wayland) {
    if (!wayland && xscreensaverRuns())
        return "xscreensaver";
    if (sessionBusNameOwned("org.mate.ScreenSaver"))
        return "mate-screensaver";
    return std::nullopt;
}

} // namespace platform
