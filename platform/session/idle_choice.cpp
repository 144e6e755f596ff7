#include "platform/session/idle_choice.h"

#include <algorithm>

namespace platform {
namespace {

bool announces(const SessionOffer& offer, const char* interface) {
    return std::find(offer.WaylandGlobals.begin(), offer.WaylandGlobals.end(), interface) !=
           offer.WaylandGlobals.end();
}

} // namespace

std::variant<IdleSourceKind, NoIdleSource> chooseIdleSource(const SessionOffer& offer) {
    if (offer.Wayland) {
        const bool seat = announces(offer, "wl_seat");
        if (seat && announces(offer, "ext_idle_notifier_v1"))
            return IdleSourceKind::ExtIdleNotify;
        if (seat && announces(offer, "org_kde_kwin_idle"))
            return IdleSourceKind::KdeIdle;
        if (offer.MutterIdleMonitor)
            return IdleSourceKind::MutterIdleMonitor;
        if (!seat)
            return NoIdleSource{"the Wayland compositor announces no seat, and no org.gnome.Mutter.IdleMonitor "
                                "answers on the session bus"};
        return NoIdleSource{"the Wayland compositor offers neither ext_idle_notifier_v1 nor org_kde_kwin_idle, "
                            "and no org.gnome.Mutter.IdleMonitor answers on the session bus"};
    }
    if (offer.MutterIdleMonitor)
        return IdleSourceKind::MutterIdleMonitor;
    if (offer.X11ScreenSaver)
        return IdleSourceKind::X11ScreenSaver;
    return NoIdleSource{"no Wayland compositor answers, no org.gnome.Mutter.IdleMonitor on the session bus, and "
                        "no X display with the MIT-SCREEN-SAVER extension"};
}

const char* idleSourceName(IdleSourceKind kind) {
    switch (kind) {
    case IdleSourceKind::ExtIdleNotify: return "ext-idle-notify-v1 (Wayland)";
    case IdleSourceKind::KdeIdle: return "org_kde_kwin_idle (Wayland)";
    case IdleSourceKind::MutterIdleMonitor: return "org.gnome.Mutter.IdleMonitor (D-Bus)";
    case IdleSourceKind::X11ScreenSaver: return "MIT-SCREEN-SAVER (X11)";
    }
    return "";
}

} // namespace platform
