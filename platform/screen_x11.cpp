#include "platform/screen.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace platform {
namespace {

std::optional<ScreenSize> primaryOutputSize(Display* display, Window root) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
        return std::nullopt;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    if (primary == None)
        return std::nullopt;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources)
        return std::nullopt;
    std::optional<ScreenSize> size;
    if (XRROutputInfo* output = XRRGetOutputInfo(display, resources, primary)) {
        if (output->crtc != None) {
            if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, output->crtc)) {
                if (crtc->width > 0 && crtc->height > 0)
                    size = ScreenSize{static_cast<int>(crtc->width), static_cast<int>(crtc->height)};
                XRRFreeCrtcInfo(crtc);
            }
        }
        XRRFreeOutputInfo(output);
    }
    XRRFreeScreenResources(resources);
    return size;
}

} // namespace

std::optional<ScreenSize> primaryScreenSize() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return std::nullopt;
    const int screen = DefaultScreen(display);
    std::optional<ScreenSize> size = primaryOutputSize(display, RootWindow(display, screen));
    if (!size)
        size = ScreenSize{DisplayWidth(display, screen), DisplayHeight(display, screen)};
    XCloseDisplay(display);
    return size;
}

} // namespace platform
