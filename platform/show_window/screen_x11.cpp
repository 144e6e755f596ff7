#include "platform/show_window/screen.h"

#include "platform/program_name/program_name.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace platform {
namespace {

constexpr int kOpenAttempts = 20;
constexpr auto kOpenRetryStep = std::chrono::milliseconds(50);

constexpr int kEndedWithTheDisplay = 0; // the show ends with its display, as with its window

// Xlib's own handler says so once for each connection, in its own words,
// and ends the process with 1: the show has two connections (its own and
// the engine's). Nothing can be drawn or put back on a display that has
// gone, so the process ends at once, with one line.
int displayGone(Display*) {
    std::fprintf(stderr, "%s: the X display has gone; ending\n", programName());
    std::fflush(stderr);
    _exit(kEndedWithTheDisplay);
}

// A server that is resetting, because its last client has just left,
// refuses connections for a moment; one that is not there refuses them for
// longer than the attempts last.
Display* openDisplay() {
    const char* name = XDisplayName(nullptr);
    for (int attempt = 1;; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (!name || !*name || attempt == kOpenAttempts)
            return nullptr;
        std::this_thread::sleep_for(kOpenRetryStep);
    }
}

// The primary output's CRTC, with the screen resources it came from.
class PrimaryCrtc {
public:
    PrimaryCrtc(Display* display, Window root) {
        int eventBase = 0;
        int errorBase = 0;
        if (!XRRQueryExtension(display, &eventBase, &errorBase))
            return;
        Resources = XRRGetScreenResourcesCurrent(display, root);
        const RROutput primary = XRRGetOutputPrimary(display, root);
        if (!Resources || primary == None)
            return;
        XRROutputInfo* output = XRRGetOutputInfo(display, Resources, primary);
        if (!output)
            return;
        if (output->crtc != None)
            Crtc = XRRGetCrtcInfo(display, Resources, output->crtc);
        XRRFreeOutputInfo(output);
    }
    ~PrimaryCrtc() {
        if (Crtc)
            XRRFreeCrtcInfo(Crtc);
        if (Resources)
            XRRFreeScreenResources(Resources);
    }
    PrimaryCrtc(const PrimaryCrtc&) = delete;
    PrimaryCrtc& operator=(const PrimaryCrtc&) = delete;

    std::optional<ScreenSize> size() const {
        if (!Crtc || Crtc->width == 0 || Crtc->height == 0)
            return std::nullopt;
        return ScreenSize{static_cast<int>(Crtc->width), static_cast<int>(Crtc->height)};
    }

    // The primary output's rate; where no output is marked primary, that
    // of the first CRTC that shows anything.
    std::optional<double> refreshRate(Display* display) const {
        if (!Resources)
            return std::nullopt;
        if (Crtc)
            return modeRate(Crtc->mode);
        for (int i = 0; i < Resources->ncrtc; ++i) {
            XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, Resources, Resources->crtcs[i]);
            const RRMode mode = crtc ? crtc->mode : None;
            if (crtc)
                XRRFreeCrtcInfo(crtc);
            if (mode != None)
                return modeRate(mode);
        }
        return std::nullopt;
    }

private:
    std::optional<double> modeRate(RRMode id) const {
        for (int i = 0; i < Resources->nmode; ++i) {
            const XRRModeInfo& mode = Resources->modes[i];
            const double dots = static_cast<double>(mode.hTotal) * mode.vTotal;
            if (mode.id == id && dots > 0 && mode.dotClock > 0)
                return static_cast<double>(mode.dotClock) / dots;
        }
        return std::nullopt;
    }

    XRRScreenResources* Resources = nullptr;
    XRRCrtcInfo* Crtc = nullptr;
};

ScreenSize screenSize(Display* display) {
    const int screen = DefaultScreen(display);
    if (const auto size = PrimaryCrtc(display, RootWindow(display, screen)).size())
        return *size;
    return ScreenSize{DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

} // namespace

std::optional<ScreenSize> primaryScreenSize() {
    const DisplayConnection connection;
    if (!connection.isOpen())
        return std::nullopt;
    return connection.primaryScreenSize();
}

DisplayConnection::DisplayConnection() : Handle(openDisplay()) { XSetIOErrorHandler(&displayGone); }

DisplayConnection::~DisplayConnection() {
    if (Handle)
        XCloseDisplay(static_cast<Display*>(Handle));
}

unsigned long DisplayConnection::rootWindow() const { return DefaultRootWindow(static_cast<Display*>(Handle)); }

ScreenSize DisplayConnection::primaryScreenSize() const { return screenSize(static_cast<Display*>(Handle)); }

std::vector<ScreenArea> DisplayConnection::monitors() const {
    auto* display = static_cast<Display*>(Handle);
    std::vector<ScreenArea> areas;
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
        return areas;
    int count = 0;
    XRRMonitorInfo* list = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    for (int i = 0; list && i < count; ++i)
        if (list[i].width > 0 && list[i].height > 0)
            areas.push_back(ScreenArea{list[i].x, list[i].y, list[i].width, list[i].height});
    if (list)
        XRRFreeMonitors(list);
    return areas;
}

std::optional<double> DisplayConnection::refreshRate() const {
    auto* display = static_cast<Display*>(Handle);
    return PrimaryCrtc(display, DefaultRootWindow(display)).refreshRate(display);
}

} // namespace platform
