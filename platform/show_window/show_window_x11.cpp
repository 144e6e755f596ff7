#include "platform/show_window/show_window.h"

#include "platform/show_window/x11_error_trap.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace platform {
namespace {

constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;
constexpr auto kMapWaitStep = std::chrono::milliseconds(10);
constexpr int kMapWaitSteps = 200;   // two seconds at most
constexpr int kPlaceWaitSteps = 150; // a second and a half for the window manager to place it
constexpr int kSteadySteps = 30;     // and it stays there this long
constexpr long kLongestStateList = 32;  // atoms of _NET_WM_STATE read
constexpr int kAtomFormat = 32;
constexpr irr::u32 kOpaqueBlack = 0xFF000000;

void sendStateChange(Display* display, Window window, long action, const char* first, const char* second) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = action;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, first, False));
    event.xclient.data.l[2] = static_cast<long>(XInternAtom(display, second, False));
    event.xclient.data.l[3] = kSourceApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

void requestFullscreenState(Display* display, Window window) {
    sendStateChange(display, window, kNetWmStateAdd, "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_ABOVE");
}

template <typename Condition>
bool waitUntil(int steps, Condition condition) {
    for (int step = 0; step < steps; ++step) {
        if (condition())
            return true;
        std::this_thread::sleep_for(kMapWaitStep);
    }
    return false;
}

int mapState(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) ? attributes.map_state : IsUnmapped;
}

bool waitUntilViewable(Display* display, Window window) {
    return waitUntil(kMapWaitSteps, [&] { return mapState(display, window) == IsViewable; });
}

bool hasState(Display* display, Window window, const char* name) {
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom wanted = XInternAtom(display, name, False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    bool set = false;
    if (XGetWindowProperty(display, window, state, 0, kLongestStateList, False, XA_ATOM, &type, &format, &count,
                           &after, &value) == Success &&
        value && format == kAtomFormat) {
        const auto* atoms = reinterpret_cast<const Atom*>(value);
        for (unsigned long i = 0; i < count && !set; ++i)
            set = atoms[i] == wanted;
    }
    if (value)
        XFree(value);
    return set;
}

bool maximised(Display* display, Window window) {
    return hasState(display, window, "_NET_WM_STATE_MAXIMIZED_VERT") ||
           hasState(display, window, "_NET_WM_STATE_MAXIMIZED_HORZ");
}

// Mutter maximises a window as large as the monitor when it first shows
// it, if that comes before the full-screen request, and keeps a maximised
// window out of the layer above the others: a window opened later would
// then cover a show that has not the focus. True when it asked for the
// window to be unmaximised.
bool unmaximise(Display* display, Window window) {
    if (!maximised(display, window))
        return false;
    sendStateChange(display, window, kNetWmStateRemove, "_NET_WM_STATE_MAXIMIZED_VERT",
                    "_NET_WM_STATE_MAXIMIZED_HORZ");
    XFlush(display);
    return true;
}

// The window manager has made the window full-screen over AREA: until it
// has, the window may still stand where it was asked to, only to be moved
// to another monitor once the window manager takes it in.
bool fullscreenOver(Display* display, Window window, ScreenArea area) {
    XWindowAttributes attributes{};
    Window child = None;
    int x = 0;
    int y = 0;
    if (!hasState(display, window, "_NET_WM_STATE_FULLSCREEN") || !XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return false;
    return x == area.X && y == area.Y && attributes.width == area.Width && attributes.height == area.Height;
}

void moveResize(Display* display, Window window, ScreenArea area) {
    XMoveResizeWindow(display, window, area.X, area.Y, static_cast<unsigned>(area.Width),
                      static_cast<unsigned>(area.Height));
}

bool parentIsRoot(Display* display, Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return false;
    if (children)
        XFree(children);
    return parent == root;
}

// Out of the window manager's care and back, now over AREA by itself. A
// window manager that framed the window lets it go once it has taken it
// out of the frame again.
void coverOnItsOwn(Display* display, Window window, ScreenArea area) {
    XWithdrawWindow(display, window, DefaultScreen(display));
    waitUntil(kMapWaitSteps, [&] { return mapState(display, window) == IsUnmapped && parentIsRoot(display, window); });
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    XChangeWindowAttributes(display, window, CWOverrideRedirect, &attributes);
    moveResize(display, window, area);
    XMapRaised(display, window);
    waitUntilViewable(display, window);
}

bool hasExtension(Display* display, const char* name) {
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    if (!list)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + length, name))
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}

template <typename Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// The engine's connection and window, when it draws with OpenGL on X11.
Display* engineDisplay(irr::video::IVideoDriver& driver) {
    if (driver.getDriverType() != irr::video::EDT_OPENGL)
        return nullptr;
    return static_cast<Display*>(driver.getExposedVideoData().OpenGLLinux.X11Display);
}

Window engineWindow(irr::video::IVideoDriver& driver) {
    return static_cast<Window>(driver.getExposedVideoData().OpenGLLinux.X11Window);
}

} // namespace

irr::video::E_DRIVER_TYPE screenDriver() { return irr::video::EDT_OPENGL; }

const char* screenDriverName() { return "OpenGL"; }

bool vsyncAtCreation() { return false; }

bool engineMakesFullscreen() { return false; }

unsigned long engineWindowHandle(irr::video::IVideoDriver& driver) {
    return engineDisplay(driver) ? engineWindow(driver) : 0;
}

void coverDisplay(irr::video::IVideoDriver& driver, int width, int height) {
    Display* display = engineDisplay(driver);
    const Window window = display ? engineWindow(driver) : None;
    if (!display || !window)
        return;
    ErrorTrap trap(display);
    requestFullscreenState(display, window);
    XMoveResizeWindow(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XRaiseWindow(display, window);
    if (!waitUntilViewable(display, window))
        return;
    unmaximise(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
}

void coverArea(irr::video::IVideoDriver& driver, ScreenArea area) {
    Display* display = engineDisplay(driver);
    const Window window = display ? engineWindow(driver) : None;
    if (!display || !window)
        return;
    ErrorTrap trap(display);
    moveResize(display, window, area);
    requestFullscreenState(display, window);
    XRaiseWindow(display, window);
    // Some compositors place an XWayland window only once it has content;
    // until then it stands where it asked to be.
    driver.beginScene(true, false, irr::video::SColor(kOpaqueBlack));
    driver.endScene();
    XSync(display, False);
    int steady = 0;
    bool asked = false;
    if (waitUntilViewable(display, window) && waitUntil(kPlaceWaitSteps, [&] {
            steady = fullscreenOver(display, window, area) ? steady + 1 : 0;
            // Asked once only: a tiling window manager (sway) keeps its tiles maximised.
            if (steady > 0 && !asked)
                asked = unmaximise(display, window);
            return steady >= kSteadySteps;
        })) {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        return;
    }
    coverOnItsOwn(display, window, area);
}

void resizeCover(irr::video::IVideoDriver& driver, ScreenArea area) {
    Display* display = engineDisplay(driver);
    const Window window = display ? engineWindow(driver) : None;
    if (!display || !window)
        return;
    ErrorTrap trap(display);
    moveResize(display, window, area);
}

bool enableVsync(irr::video::IVideoDriver& driver) {
    using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
    using SwapIntervalMesa = int (*)(unsigned);
    Display* display = engineDisplay(driver);
    const Window window = display ? engineWindow(driver) : None;
    if (!display || !window)
        return false;
    ErrorTrap trap(display);
    if (hasExtension(display, "GLX_EXT_swap_control")) {
        if (auto swapInterval = lookUp<SwapIntervalExt>("glXSwapIntervalEXT")) {
            swapInterval(display, window, 1);
            return !trap.failed();
        }
    }
    if (hasExtension(display, "GLX_MESA_swap_control")) {
        if (auto swapInterval = lookUp<SwapIntervalMesa>("glXSwapIntervalMESA"))
            return swapInterval(1) == 0 && !trap.failed();
    }
    return false;
}

bool waitForEvents(irr::video::IVideoDriver& driver, int otherFd, int limitMs) {
    Display* display = engineDisplay(driver);
    if (!display)
        return false;
    if (XPending(display) > 0)
        return true; // XPending also sends what is queued
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {otherFd, POLLIN, 0}};
    poll(watched, otherFd < 0 ? 1 : 2, limitMs);
    return true;
}

} // namespace platform
