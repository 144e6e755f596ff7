#include "platform/show_window/own_window_watch.h"

#include "platform/show_window/x11_error_trap.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

namespace platform {
namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;
// Raw events reach every client that asks, even while another holds a grab,
// from version 2.1 on.
constexpr int kInputMajor = 2;
constexpr int kInputMinor = 2;
// The server sends no event when the display powers down or up; a look
// costs one round trip.
constexpr auto kPowerLookInterval = std::chrono::seconds(1);
// Long enough for a window manager to settle the focus after a map, short
// enough that a window taking the focus later is never fought.
constexpr auto kFocusClaimPeriod = std::chrono::milliseconds(2000);

Display* asDisplay(void* handle) { return static_cast<Display*>(handle); }

int selectRawPresses(Display* display) {
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase))
        return -1;
    int major = kInputMajor;
    int minor = kInputMinor;
    if (XIQueryVersion(display, &major, &minor) != Success || (major == kInputMajor && minor < 1))
        return -1;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    return opcode;
}

int watchScreenSaver(Display* display, bool& on) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase))
        return -1;
    const Window root = DefaultRootWindow(display);
    XScreenSaverSelectInput(display, root, ScreenSaverNotifyMask);
    if (XScreenSaverInfo* info = XScreenSaverAllocInfo()) {
        if (XScreenSaverQueryInfo(display, root, info))
            on = info->state == ScreenSaverOn;
        XFree(info);
    }
    return eventBase;
}

int watchScreenSize(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
        return -1;
    XRRSelectInput(display, DefaultRootWindow(display), RRScreenChangeNotifyMask);
    return eventBase;
}

bool hasPowerControl(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    return DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

bool isEndingPress(const XIRawEvent& raw) {
    if (raw.evtype == XI_RawKeyPress)
        return true;
    return raw.evtype == XI_RawButtonPress && (raw.detail == kLeftButton || raw.detail == kRightButton);
}

} // namespace

OwnWindowWatch::OwnWindowWatch(const DisplayConnection& connection) : Dpy(connection.handle()) {
    if (!Dpy)
        return;
    Display* display = asDisplay(Dpy);
    InputOpcode = selectRawPresses(display);
    SaverEventBase = watchScreenSaver(display, SaverOn);
    ScreenEventBase = watchScreenSize(display);
    HasPowerControl = hasPowerControl(display);
    lookAtPower();
    XFlush(display);
}

OwnWindowWatch::~OwnWindowWatch() = default;

void OwnWindowWatch::watchWindow(unsigned long window) {
    if (!Dpy || !window)
        return;
    Display* display = asDisplay(Dpy);
    ErrorTrap trap(display); // a window already gone is simply not watched
    XSelectInput(display, window, VisibilityChangeMask);
    if (!trap.failed())
        Watched = window;
}

void OwnWindowWatch::claimFocusAtStart() {
    if (Watched)
        FocusClaimEnd = std::chrono::steady_clock::now() + kFocusClaimPeriod;
}

// Asked for only while the window is seen: a locker's window over it keeps
// the focus it took.
void OwnWindowWatch::keepFocus() {
    if (!Watched || hidden() || std::chrono::steady_clock::now() >= FocusClaimEnd)
        return;
    Display* display = asDisplay(Dpy);
    Window focus = None;
    int revertTo = RevertToNone;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == Watched)
        return;
    ErrorTrap trap(display); // not viewable at this moment: asked again next time
    XSetInputFocus(display, Watched, RevertToParent, CurrentTime);
}

void OwnWindowWatch::take(void* eventHandle) {
    XEvent& event = *static_cast<XEvent*>(eventHandle);
    Display* display = asDisplay(Dpy);
    if (event.type == GenericEvent && event.xcookie.extension == InputOpcode) {
        if (XGetEventData(display, &event.xcookie)) {
            Pressed = Pressed || isEndingPress(*static_cast<const XIRawEvent*>(event.xcookie.data));
            XFreeEventData(display, &event.xcookie);
        }
    } else if (SaverEventBase >= 0 && event.type == SaverEventBase + ScreenSaverNotify) {
        SaverOn = reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state == ScreenSaverOn;
    } else if (ScreenEventBase >= 0 && event.type == ScreenEventBase + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&event);
        ScreenChanged = true;
    } else if (event.type == VisibilityNotify && event.xvisibility.window == Watched) {
        Covered = event.xvisibility.state == VisibilityFullyObscured;
    }
}

void OwnWindowWatch::lookAtPower() {
    if (!HasPowerControl)
        return;
    NextPowerLook = std::chrono::steady_clock::now() + kPowerLookInterval;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    if (DPMSInfo(asDisplay(Dpy), &level, &enabled))
        PoweredDown = enabled && level != DPMSModeOn;
}

void OwnWindowWatch::update() {
    if (!Dpy)
        return;
    Display* display = asDisplay(Dpy);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        take(&event);
    }
    if (HasPowerControl && std::chrono::steady_clock::now() >= NextPowerLook)
        lookAtPower();
    keepFocus();
}

bool OwnWindowWatch::takeScreenChange() {
    const bool changed = ScreenChanged;
    ScreenChanged = false;
    return changed;
}

int OwnWindowWatch::connectionFd() const { return Dpy ? ConnectionNumber(asDisplay(Dpy)) : -1; }

} // namespace platform
