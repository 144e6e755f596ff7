#pragma once

// While alive, X errors on any connection of the process are counted
// instead of ending it; the handler that was in place comes back after.

#include <X11/Xlib.h>

namespace platform {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : Dpy(display) {
        XSync(Dpy, False);
        Errors = 0;
        Previous = XSetErrorHandler(&ErrorTrap::count);
    }
    ~ErrorTrap() {
        XSync(Dpy, False);
        XSetErrorHandler(Previous);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed() {
        XSync(Dpy, False);
        return Errors != 0;
    }

private:
    static int count(Display*, XErrorEvent*) {
        ++Errors;
        return 0;
    }

    static inline int Errors = 0;
    Display* Dpy;
    XErrorHandler Previous = nullptr;
};

} // namespace platform
