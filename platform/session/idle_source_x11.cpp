#include "platform/session/idle_source.h"
#include "platform/session/session.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/scrnsaver.h>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdint>

namespace platform {
namespace {

constexpr int kInputMajor = 2;
constexpr int kInputMinor = 2;
constexpr long kNanosecondsPerMillisecond = 1000000;
constexpr long kMillisecondsPerSecond = 1000;

// Xlib ends the process when a display goes away, unless its exit handler
// leaves by a jump: each stretch of Xlib calls runs under a guard to jump
// back to. Only plain data lives in the frames jumped over.
std::jmp_buf* Escape = nullptr;

int quietIoError(Display*) { return 0; } // the runner says it in its own words
int quietError(Display*, XErrorEvent*) { return 0; } // a window gone between two questions

[[noreturn]] void leaveXlib(Display*, void*) {
    if (Escape)
        std::longjmp(*Escape, 1);
    std::_Exit(1);
}

// Runs WORK; false, at once, when the display went away meanwhile.
template <typename Work>
bool guarded(Display* display, Work&& work) {
    std::jmp_buf here;
    std::jmp_buf* outer = Escape;
    if (setjmp(here) != 0) {
        Escape = outer;
        return false;
    }
    Escape = &here;
    XSetIOErrorHandler(&quietIoError);
    XSetErrorHandler(&quietError);
    XSetIOErrorExitHandler(display, &leaveXlib, nullptr);
    work();
    Escape = outer;
    return true;
}

// A display of its own for one question; FALLBACK where it goes away.
template <typename Answer, typename Question>
Answer askDisplay(Answer fallback, Question question) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return fallback;
    Answer answer = fallback;
    if (guarded(display, [&] { answer = question(display); }))
        XCloseDisplay(display);
    return answer;
}

int inputOpcode(Display* display) {
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = kInputMajor;
    int minor = kInputMinor;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase) ||
        XIQueryVersion(display, &major, &minor) != Success)
        return -1;
    return opcode;
}

// The server's own idle time: since the last input on any device, or since
// a program reset it (as video players do while they play).
class X11Idle final : public IdleSource {
public:
    X11Idle(Display* display, IdleListener& listener, std::chrono::milliseconds idleTime)
        : Dpy(display), Listener(listener), IdleTime(idleTime) {}
    ~X11Idle() override {
        if (Timer >= 0)
            close(Timer);
        if (!Gone)
            XCloseDisplay(Dpy);
    }
    X11Idle(const X11Idle&) = delete;
    X11Idle& operator=(const X11Idle&) = delete;

    bool start(std::string& why) {
        Timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
        bool usable = false;
        Gone = !guarded(Dpy, [&] {
            InputOpcode = inputOpcode(Dpy);
            int errorBase = 0;
            usable = InputOpcode >= 0 && XScreenSaverQueryExtension(Dpy, &SaverEventBase, &errorBase);
            if (usable)
                XScreenSaverSelectInput(Dpy, DefaultRootWindow(Dpy), ScreenSaverNotifyMask);
        });
        if (Gone || !usable || Timer < 0) {
            why = "the X display has no XInput 2 or MIT-SCREEN-SAVER extension";
            return false;
        }
        lookAtIdleTime();
        tell();
        return true;
    }

    std::vector<pollfd> watches() override {
        takeEvents();
        tell();
        if (Gone)
            return {pollfd{Timer, POLLIN, 0}};
        return {pollfd{Timer, POLLIN, 0}, pollfd{ConnectionNumber(Dpy), POLLIN, 0}};
    }

    void handle(const std::vector<pollfd>& ready) override {
        if (!ready.empty() && ready[0].revents != 0) {
            std::uint64_t expirations = 0;
            if (read(Timer, &expirations, sizeof expirations) > 0 && !Idle)
                lookAtIdleTime();
        }
        if (ready.size() > 1 && ready[1].revents != 0)
            takeEvents();
        tell();
    }

private:
    void arm(std::chrono::milliseconds after) {
        const long milliseconds = std::max<long>(1, static_cast<long>(after.count()));
        itimerspec when{};
        when.it_value.tv_sec = milliseconds / kMillisecondsPerSecond;
        when.it_value.tv_nsec = milliseconds % kMillisecondsPerSecond * kNanosecondsPerMillisecond;
        timerfd_settime(Timer, 0, &when, nullptr);
    }

    // While the server's own screen saver is on (a locker run by xss-lock
    // holds it), the show would only be hidden: the idle time counts again
    // once it is off.
    void lookAtIdleTime() {
        if (Gone)
            return;
        std::chrono::milliseconds idle{0};
        Gone = !guarded(Dpy, [&] {
            XScreenSaverInfo* info = XScreenSaverAllocInfo();
            const bool known = info && XScreenSaverQueryInfo(Dpy, DefaultRootWindow(Dpy), info);
            idle = std::chrono::milliseconds(known ? info->idle : 0);
            SaverOn = known && info->state == ScreenSaverOn;
            XFree(info);
        });
        if (Gone || SaverOn)
            return;
        if (idle < IdleTime) {
            arm(IdleTime - idle);
            return;
        }
        Idle = true;
        watchInput(true);
        Pending = Change::IdleBegan;
    }

    // Raw input events reach every client that asks, grabs or not.
    void watchInput(bool on) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        if (on) {
            XISetMask(bits, XI_RawKeyPress);
            XISetMask(bits, XI_RawButtonPress);
            XISetMask(bits, XI_RawMotion);
        }
        XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
        Gone = Gone || !guarded(Dpy, [&] {
            XISelectEvents(Dpy, DefaultRootWindow(Dpy), &mask, 1);
            XFlush(Dpy);
        });
    }

    void inputCame() {
        if (!Idle)
            return;
        Idle = false;
        watchInput(false);
        arm(IdleTime);
        Pending = Change::ActivityCame;
    }

    void take(XEvent& event) {
        if (event.type == GenericEvent && event.xcookie.extension == InputOpcode) {
            inputCame();
        } else if (event.type == SaverEventBase + ScreenSaverNotify) {
            const bool wasOn = SaverOn;
            SaverOn = reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state == ScreenSaverOn;
            if (wasOn && !SaverOn && !Idle)
                lookAtIdleTime();
        }
    }

    void takeEvents() {
        if (Gone)
            return;
        std::vector<XEvent> events;
        Gone = !guarded(Dpy, [&] {
            while (XPending(Dpy) > 0) {
                events.emplace_back();
                XNextEvent(Dpy, &events.back());
            }
            XFlush(Dpy);
        });
        for (XEvent& event : events)
            take(event);
    }

    // What happened goes to the listener outside the guarded stretches: the
    // runner opens displays of its own in answer.
    void tell() {
        const Change change = Pending;
        Pending = Change::Nothing;
        if (change == Change::IdleBegan)
            Listener.idleBegan();
        else if (change == Change::ActivityCame)
            Listener.activityCame();
        if (Gone && !Told) {
            Told = true;
            Listener.sessionEnded("the X display has gone");
        }
    }

    Display* Dpy;
    IdleListener& Listener;
    std::chrono::milliseconds IdleTime;
    int Timer = -1;
    int InputOpcode = -1;
    int SaverEventBase = 0;
    bool Idle = false;    // told idleBegan, waiting for input
    bool SaverOn = false; // the server's own screen saver
    bool Gone = false;
    bool Told = false;
    enum class Change { Nothing, IdleBegan, ActivityCame };
    Change Pending = Change::Nothing;
};

} // namespace

bool x11ScreenSaverAnswers() {
    return askDisplay(false, [](Display* display) {
        int eventBase = 0;
        int errorBase = 0;
        return XScreenSaverQueryExtension(display, &eventBase, &errorBase) != False;
    });
}

std::unique_ptr<IdleSource> openX11Idle(std::chrono::milliseconds idleTime, IdleListener& listener,
                                        std::string& why) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        why = "cannot open the X display";
        return nullptr;
    }
    auto source = std::make_unique<X11Idle>(display, listener, idleTime);
    if (!source->start(why))
        return nullptr;
    return source;
}

bool hasProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    const bool found = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType, &type, &format,
                                          &count, &after, &value) == Success &&
                       type != None;
    if (value)
        XFree(value);
    return found;
}

// xscreensaver names its version on a window of its own, a child of the
// root, where xscreensaver-command looks for it.
bool xscreensaverRuns() {
    return askDisplay(false, [](Display* display) {
        const Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
        if (version == None)
            return false;
        const Window root = DefaultRootWindow(display);
        Window rootAgain = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        bool found = hasProperty(display, root, version);
        if (XQueryTree(display, root, &rootAgain, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !found; ++i)
                found = hasProperty(display, children[i], version);
            if (children)
                XFree(children);
        }
        return found;
    });
}

int monitorCount() {
    return askDisplay(0, [](Display* display) {
        int eventBase = 0;
        int errorBase = 0;
        int count = 1;
        if (XRRQueryExtension(display, &eventBase, &errorBase)) {
            XRRMonitorInfo* list = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
            if (list)
                XRRFreeMonitors(list);
        }
        return count;
    });
}

} // namespace platform
