#include "platform/session/idle_source.h"
#include "platform/session/session.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstring>
#include <optional>

namespace platform {
namespace {

constexpr const char* kMonitorName = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kMonitorPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kMonitorInterface = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kSessionName = "org.gnome.SessionManager";
constexpr const char* kSessionPath = "/org/gnome/SessionManager";
constexpr const char* kSessionInterface = "org.gnome.SessionManager";
constexpr const char* kBusName = "org.freedesktop.DBus";
constexpr const char* kBusPath = "/org/freedesktop/DBus";
constexpr std::uint32_t kInhibitIdle = 8; // the session manager's flag for "marked as idle"
constexpr std::uint32_t kNoWatch = 0;

sd_bus* openSessionBus() {
    sd_bus* bus = nullptr;
    return sd_bus_open_user(&bus) >= 0 ? bus : nullptr;
}

// The one number a method answers with, or nothing.
template <typename Number, typename... Arguments>
std::optional<Number> callForNumber(sd_bus* bus, const char* destination, const char* path, const char* interface,
                                    const char* method, const char* answerType, const char* argumentTypes,
                                    Arguments... arguments) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const int result = sd_bus_call_method(bus, destination, path, interface, method, &error, &reply, argumentTypes,
                                          arguments...);
    sd_bus_error_free(&error);
    Number value{};
    const bool read = result >= 0 && sd_bus_message_read(reply, answerType, &value) > 0;
    sd_bus_message_unref(reply);
    return read ? std::optional<Number>(value) : std::nullopt;
}

bool nameOwned(sd_bus* bus, const char* name) {
    return callForNumber<int>(bus, kBusName, kBusPath, kBusName, "NameHasOwner", "b", "s", name).value_or(0) != 0;
}

// The monitor's methods.
template <typename Number, typename... Arguments>
std::optional<Number> askMonitor(sd_bus* bus, const char* method, const char* answerType, const char* argumentTypes,
                                 Arguments... arguments) {
    return callForNumber<Number>(bus, kMonitorName, kMonitorPath, kMonitorInterface, method, answerType,
                                 argumentTypes, arguments...);
}

// Mutter's own idle time, with the session manager's inhibitors: Mutter's
// watches fire whatever a video player asked of the session.
class MutterIdle final : public IdleSource {
public:
    MutterIdle(sd_bus* bus, IdleListener& listener, std::chrono::milliseconds idleTime)
        : Bus(bus), Listener(listener), IdleTime(static_cast<std::uint64_t>(idleTime.count())) {}
    ~MutterIdle() override {
        for (sd_bus_slot* slot : {FiredSlot, OwnerSlot, InhibitorSlot})
            sd_bus_slot_unref(slot);
        sd_bus_flush_close_unref(Bus);
    }
    MutterIdle(const MutterIdle&) = delete;
    MutterIdle& operator=(const MutterIdle&) = delete;

    bool start(std::string& why) {
        if (sd_bus_match_signal(Bus, &FiredSlot, kMonitorName, kMonitorPath, kMonitorInterface, "WatchFired",
                                &MutterIdle::watchFired, this) < 0 ||
            sd_bus_match_signal(Bus, &OwnerSlot, kBusName, kBusPath, kBusName, "NameOwnerChanged",
                                &MutterIdle::ownerChanged, this) < 0 ||
            sd_bus_match_signal(Bus, &InhibitorSlot, kSessionName, kSessionPath, kSessionInterface,
                                "InhibitorRemoved", &MutterIdle::inhibitorRemoved, this) < 0) {
            why = "cannot listen on the session bus";
            return false;
        }
        IdleWatch = addIdleWatch(IdleTime);
        if (IdleWatch == kNoWatch) {
            why = "org.gnome.Mutter.IdleMonitor takes no idle watch";
            return false;
        }
        return true;
    }

    std::vector<pollfd> watches() override {
        process();
        sd_bus_flush(Bus);
        const int events = sd_bus_get_events(Bus);
        return {pollfd{sd_bus_get_fd(Bus), static_cast<short>(events < 0 ? POLLIN : events), 0}};
    }

    void handle(const std::vector<pollfd>& ready) override {
        if (!ready.empty() && ready.front().revents != 0)
            process();
    }

private:
    void process() {
        for (;;) {
            const int result = sd_bus_process(Bus, nullptr);
            if (result == 0)
                return;
            if (result < 0) {
                Listener.sessionEnded("the session bus has gone");
                return;
            }
        }
    }

    std::uint32_t addIdleWatch(std::uint64_t milliseconds) {
        return askMonitor<std::uint32_t>(Bus, "AddIdleWatch", "u", "t", milliseconds).value_or(kNoWatch);
    }

    void removeWatch(std::uint32_t& watch) {
        if (watch != kNoWatch)
            askMonitor<int>(Bus, "RemoveWatch", "", "u", watch);
        watch = kNoWatch;
    }

    bool inhibited() {
        if (!nameOwned(Bus, kSessionName))
            return false;
        return callForNumber<int>(Bus, kSessionName, kSessionPath, kSessionInterface, "IsInhibited", "b", "u",
                                  kInhibitIdle)
                   .value_or(0) != 0;
    }

    void idleTimeReached() {
        ActiveWatch = askMonitor<std::uint32_t>(Bus, "AddUserActiveWatch", "u", nullptr).value_or(kNoWatch);
        HeldBack = inhibited();
        if (!HeldBack)
            Listener.idleBegan();
    }

    void fired(std::uint32_t watch) {
        if (watch == ActiveWatch) {
            ActiveWatch = kNoWatch; // a user-active watch fires once
            removeWatch(LateWatch);
            const bool told = !HeldBack;
            HeldBack = false;
            if (told)
                Listener.activityCame();
        } else if (watch == IdleWatch && ActiveWatch == kNoWatch) {
            idleTimeReached();
        } else if (watch == LateWatch) {
            removeWatch(LateWatch);
            if (HeldBack && !inhibited()) {
                HeldBack = false;
                Listener.idleBegan();
            }
        }
    }

    // Idle while an inhibitor held: the idle time counts again from its end.
    void inhibitorGone() {
        if (!HeldBack || LateWatch != kNoWatch || inhibited())
            return;
        const auto idle = askMonitor<std::uint64_t>(Bus, "GetIdletime", "t", nullptr);
        LateWatch = addIdleWatch(idle.value_or(0) + IdleTime);
    }

    static int watchFired(sd_bus_message* message, void* data, sd_bus_error*) {
        std::uint32_t watch = kNoWatch;
        if (sd_bus_message_read(message, "u", &watch) > 0)
            static_cast<MutterIdle*>(data)->fired(watch);
        return 0;
    }

    static int ownerChanged(sd_bus_message* message, void* data, sd_bus_error*) {
        const char* name = nullptr;
        const char* before = nullptr;
        const char* after = nullptr;
        if (sd_bus_message_read(message, "sss", &name, &before, &after) > 0 && std::strcmp(name, kMonitorName) == 0 &&
            (!after || !*after))
            static_cast<MutterIdle*>(data)->Listener.sessionEnded("org.gnome.Mutter.IdleMonitor has gone");
        return 0;
    }

    static int inhibitorRemoved(sd_bus_message*, void* data, sd_bus_error*) {
        static_cast<MutterIdle*>(data)->inhibitorGone();
        return 0;
    }

    sd_bus* Bus;
    IdleListener& Listener;
    std::uint64_t IdleTime; // milliseconds
    sd_bus_slot* FiredSlot = nullptr;
    sd_bus_slot* OwnerSlot = nullptr;
    sd_bus_slot* InhibitorSlot = nullptr;
    std::uint32_t IdleWatch = kNoWatch;   // fires each time the idle time is reached
    std::uint32_t ActiveWatch = kNoWatch; // fires once, at the next input
    std::uint32_t LateWatch = kNoWatch;   // the idle time after an inhibitor's end
    bool HeldBack = false;                // the idle time was reached while inhibited
};

} // namespace

bool sessionBusNameOwned(const char* name) {
    sd_bus* bus = openSessionBus();
    if (!bus)
        return false;
    const bool owned = nameOwned(bus, name);
    sd_bus_flush_close_unref(bus);
    return owned;
}

bool mutterIdleMonitorAnswers() { return sessionBusNameOwned(kMonitorName); }

std::unique_ptr<IdleSource> openMutterIdle(std::chrono::milliseconds idleTime, IdleListener& listener,
                                           std::string& why) {
    sd_bus* bus = openSessionBus();
    if (!bus) {
        why = "no session bus";
        return nullptr;
    }
    auto source = std::make_unique<MutterIdle>(bus, listener, idleTime);
    if (!source->start(why))
        return nullptr;
    return source;
}

} // namespace platform
