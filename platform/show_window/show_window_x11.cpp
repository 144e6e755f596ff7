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

constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;
constexpr auto kMapWaitStep = std::chrono::milliseconds(10);
constexpr int kMapWaitSteps = 200; // two seconds at most

void requestFullscreenState(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = kNetWmStateAdd;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[2] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_ABOVE", False));
    event.xclient.data.l[3] = kSourceApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

bool waitUntilViewable(Display* display, Window window) {
    for (int step = 0; step < kMapWaitSteps; ++step) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable)
            return true;
        std::this_thread::sleep_for(kMapWaitStep);
    }
    return false;
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
    if (waitUntilViewable(display, window))
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
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
