#include "platform/session/idle_source.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"

#include <wayland-client.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

constexpr std::uint32_t kSeatVersion = 1;
constexpr std::uint32_t kIdleVersion = 1;
constexpr const char* kCompositorGone = "the Wayland compositor has gone";

// The compositor's globals as its registry announces them, and the three
// the runner binds.
struct Globals {
    std::vector<std::string> Names;
    wl_seat* Seat = nullptr;
    ext_idle_notifier_v1* Notifier = nullptr;
    org_kde_kwin_idle* KdeIdle = nullptr;
    bool Bind = false; // only list them

    static void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                         std::uint32_t) {
        auto& self = *static_cast<Globals*>(data);
        self.Names.emplace_back(interface);
        if (!self.Bind)
            return;
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self.Seat)
            self.Seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, kSeatVersion));
        else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
            self.Notifier = static_cast<ext_idle_notifier_v1*>(
                wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, kIdleVersion));
        else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
            self.KdeIdle = static_cast<org_kde_kwin_idle*>(
                wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, kIdleVersion));
    }
    static void remove(void*, wl_registry*, std::uint32_t) {}
};

const wl_registry_listener kRegistryListener = {&Globals::announce, &Globals::remove};

class WaylandIdle final : public IdleSource {
public:
    WaylandIdle(wl_display* display, IdleListener& listener) : Display(display), Listener(listener) {}
    ~WaylandIdle() override {
        if (Notification)
            ext_idle_notification_v1_destroy(Notification);
        if (Timeout)
            org_kde_kwin_idle_timeout_release(Timeout);
        if (Found.Notifier)
            ext_idle_notifier_v1_destroy(Found.Notifier);
        if (Found.KdeIdle)
            org_kde_kwin_idle_destroy(Found.KdeIdle);
        if (Found.Seat)
            wl_seat_destroy(Found.Seat);
        if (Registry)
            wl_registry_destroy(Registry);
        wl_display_disconnect(Display);
    }
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    bool start(IdleSourceKind kind, std::chrono::milliseconds idleTime, std::string& why) {
        Found.Bind = true;
        Registry = wl_display_get_registry(Display);
        wl_registry_add_listener(Registry, &kRegistryListener, &Found);
        if (wl_display_roundtrip(Display) < 0) {
            why = kCompositorGone;
            return false;
        }
        const auto timeout = static_cast<std::uint32_t>(idleTime.count());
        if (kind == IdleSourceKind::ExtIdleNotify && Found.Notifier && Found.Seat) {
            Notification = ext_idle_notifier_v1_get_idle_notification(Found.Notifier, timeout, Found.Seat);
            ext_idle_notification_v1_add_listener(Notification, &kNotificationListener, this);
        } else if (kind == IdleSourceKind::KdeIdle && Found.KdeIdle && Found.Seat) {
            Timeout = org_kde_kwin_idle_get_idle_timeout(Found.KdeIdle, Found.Seat, timeout);
            org_kde_kwin_idle_timeout_add_listener(Timeout, &kTimeoutListener, this);
        } else {
            why = "the Wayland compositor no longer offers what it announced";
            return false;
        }
        return wl_display_flush(Display) >= 0 || (why = kCompositorGone, false);
    }

    std::vector<pollfd> watches() override {
        wl_display_dispatch_pending(Display);
        wl_display_flush(Display);
        return {pollfd{wl_display_get_fd(Display), POLLIN, 0}};
    }

    void handle(const std::vector<pollfd>& ready) override {
        if (ready.empty() || ready.front().revents == 0)
            return;
        if (wl_display_dispatch(Display) < 0)
            Listener.sessionEnded(kCompositorGone);
    }

private:
    static void idled(void* data) { static_cast<WaylandIdle*>(data)->Listener.idleBegan(); }
    static void resumed(void* data) { static_cast<WaylandIdle*>(data)->Listener.activityCame(); }
    static void notificationIdled(void* data, ext_idle_notification_v1*) { idled(data); }
    static void notificationResumed(void* data, ext_idle_notification_v1*) { resumed(data); }
    static void timeoutIdle(void* data, org_kde_kwin_idle_timeout*) { idled(data); }
    static void timeoutResumed(void* data, org_kde_kwin_idle_timeout*) { resumed(data); }

    static constexpr ext_idle_notification_v1_listener kNotificationListener = {&notificationIdled,
                                                                                &notificationResumed};
    static constexpr org_kde_kwin_idle_timeout_listener kTimeoutListener = {&timeoutIdle, &timeoutResumed};

    wl_display* Display;
    IdleListener& Listener;
    wl_registry* Registry = nullptr;
    Globals Found;
    ext_idle_notification_v1* Notification = nullptr;
    org_kde_kwin_idle_timeout* Timeout = nullptr;
};

} // namespace

// Only a session that names its compositor has one: libwayland would
// otherwise guess a socket name, and complain where there is none.
bool compositorNamed() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const char* socket = std::getenv("WAYLAND_SOCKET");
    return (display && *display) || (socket && *socket);
}

std::vector<std::string> waylandGlobals(bool& connected) {
    connected = false;
    if (!compositorNamed())
        return {};
    wl_display* display = wl_display_connect(nullptr);
    connected = display != nullptr;
    if (!display)
        return {};
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    connected = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return globals.Names;
}

std::unique_ptr<IdleSource> openWaylandIdle(IdleSourceKind kind, std::chrono::milliseconds idleTime,
                                             IdleListener& listener, std::string& why) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        why = "no Wayland compositor answers";
        return nullptr;
    }
    auto source = std::make_unique<WaylandIdle>(display, listener);
    if (!source->start(kind, idleTime, why))
        return nullptr;
    return source;
}

} // namespace platform
