#include "platform/dialog_kit/display.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <string_view>

namespace platform {

bool displayAvailable() {
    constexpr std::string_view kX11Plugin = "xcb";
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen && *chosen && !std::string_view(chosen).starts_with(kX11Plugin))
        return true;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

} // namespace platform
