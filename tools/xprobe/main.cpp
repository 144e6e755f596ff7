// qvxprobe: answers questions about the X server for the end-to-end tests.
//
//   qvxprobe cursor   prints "visible" when the cursor now shown on the screen
//                   has at least one pixel that is not fully transparent,
//                   else "hidden"
//   qvxprobe window W H [argb | input-only]
//                   maps a W x H window named "qvxprobe host" (with a 32-bit
//                   ARGB visual, or of the InputOnly class, when asked),
//                   prints its id (0x...) and keeps it until killed: a host
//                   for programs that draw into a window they are given
//   qvxprobe focus-thief W H
//                   maps a plain W x H window as "window" does, gives it the
//                   focus and prints its id; the first time another window
//                   takes the focus, takes it back at once, as a window
//                   manager settling its focus may, prints "took it from
//                   0x..." and keeps the window until killed
//   qvxprobe grabs  grabs the keyboard and the pointer on the root window,
//                   as a screen locker does, lets both go again and prints
//                   what the server answered: "keyboard ok pointer ok", or
//                   AlreadyGrabbed, frozen, not-viewable or invalid-time
//
// Exit codes: 0 answered, 1 usage, 2 no display, no XFIXES or no such visual.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace {

constexpr int kAnswered = 0;
constexpr int kUsage = 1;
constexpr int kNoServer = 2;
constexpr unsigned long kAlphaMask = 0xFF000000UL; // cursor pixels are ARGB
constexpr int kArgbDepth = 32;
constexpr unsigned long kHostBackground = 0x808080; // grey: neither the show's black nor its colours
constexpr useconds_t kFocusLookIntervalUs = 1000; // the thief must answer before the show's next frame

enum class HostKind { Plain, Argb, InputOnlyClass };

bool hasOpaquePixel(const XFixesCursorImage& image) {
    const unsigned long count = static_cast<unsigned long>(image.width) * image.height;
    for (unsigned long i = 0; i < count; ++i)
        if (image.pixels[i] & kAlphaMask)
            return true;
    return false;
}

int probeCursor(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "qvxprobe: the X server has no XFIXES extension\n");
        return kNoServer;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) {
        std::fprintf(stderr, "qvxprobe: the X server gave no cursor image\n");
        return kNoServer;
    }
    std::printf("%s\n", hasOpaquePixel(*image) ? "visible" : "hidden");
    XFree(image);
    return kAnswered;
}

// The default visual, or a 32-bit TrueColor one with alpha.
bool chooseVisual(Display* display, bool argb, XVisualInfo& chosen) {
    if (!argb) {
        chosen.visual = DefaultVisual(display, DefaultScreen(display));
        chosen.depth = DefaultDepth(display, DefaultScreen(display));
        return true;
    }
    return XMatchVisualInfo(display, DefaultScreen(display), kArgbDepth, TrueColor, &chosen);
}

// An InputOnly window takes none of the attributes of one drawn in.
Window createHost(Display* display, unsigned width, unsigned height, HostKind kind, const XVisualInfo& visual) {
    const Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes{};
    if (kind == HostKind::InputOnlyClass)
        return XCreateWindow(display, root, 0, 0, width, height, 0, 0, InputOnly, CopyFromParent, 0, &attributes);
    attributes.colormap = XCreateColormap(display, root, visual.visual, AllocNone);
    attributes.background_pixel = kHostBackground | (kind == HostKind::Argb ? kAlphaMask : 0);
    attributes.border_pixel = 0;
    return XCreateWindow(display, root, 0, 0, width, height, 0, visual.depth, InputOutput, visual.visual,
                         CWColormap | CWBackPixel | CWBorderPixel, &attributes);
}

const char* grabAnswer(int status) {
    switch (status) {
    case GrabSuccess:
        return "ok";
    case AlreadyGrabbed:
        return "AlreadyGrabbed";
    case GrabFrozen:
        return "frozen";
    case GrabNotViewable:
        return "not-viewable";
    default:
        return "invalid-time";
    }
}

int probeGrabs(Display* display) {
    const Window root = DefaultRootWindow(display);
    const int keyboard = XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    const int pointer = XGrabPointer(display, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                                     None, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XSync(display, False);
    std::printf("keyboard %s pointer %s\n", grabAnswer(keyboard), grabAnswer(pointer));
    return kAnswered;
}

[[noreturn]] void keepUntilKilled(Display* display) {
    for (;;) {
        XEvent event;
        XNextEvent(display, &event); // none are selected: waits until killed
    }
}

Window mapHost(Display* display, unsigned width, unsigned height, HostKind kind, const XVisualInfo& visual) {
    const Window window = createHost(display, width, height, kind, visual);
    XStoreName(display, window, "qvxprobe host");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    return window;
}

int hostWindow(Display* display, unsigned width, unsigned height, HostKind kind) {
    XVisualInfo visual{};
    if (!chooseVisual(display, kind == HostKind::Argb, visual)) {
        std::fprintf(stderr, "qvxprobe: the X server has no 32-bit TrueColor visual\n");
        return kNoServer;
    }
    mapHost(display, width, height, kind, visual);
    keepUntilKilled(display);
}

Window focusNow(Display* display) {
    Window focus = None;
    int revertTo = RevertToNone;
    XGetInputFocus(display, &focus, &revertTo);
    return focus;
}

// Focus changes reach only the windows they concern, so the thief looks.
int focusThief(Display* display, unsigned width, unsigned height) {
    XVisualInfo visual{};
    chooseVisual(display, false, visual);
    const Window own = mapHost(display, width, height, HostKind::Plain, visual);
    XSetInputFocus(display, own, RevertToParent, CurrentTime);
    XSync(display, False);
    Window other = own;
    while ((other = focusNow(display)) == own || other == None || other == PointerRoot)
        usleep(kFocusLookIntervalUs);
    XSetInputFocus(display, own, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("took it from 0x%lx\n", other);
    std::fflush(stdout);
    keepUntilKilled(display);
}

// The kind a "window" command asks for; nothing for a wrong word count or kind.
std::optional<HostKind> hostKind(int argc, char** argv) {
    if (argc == 4)
        return HostKind::Plain;
    if (argc != 5)
        return std::nullopt;
    if (std::strcmp(argv[4], "argb") == 0)
        return HostKind::Argb;
    if (std::strcmp(argv[4], "input-only") == 0)
        return HostKind::InputOnlyClass;
    return std::nullopt;
}

int usage() {
    std::fprintf(stderr, "usage: qvxprobe cursor | qvxprobe grabs | qvxprobe window WIDTH HEIGHT [argb | input-only]"
                         " | qvxprobe focus-thief WIDTH HEIGHT\n");
    return kUsage;
}

} // namespace

int main(int argc, char** argv) {
    const bool cursor = argc == 2 && std::strcmp(argv[1], "cursor") == 0;
    const bool grabs = argc == 2 && std::strcmp(argv[1], "grabs") == 0;
    const std::optional<HostKind> kind = hostKind(argc, argv);
    const bool sized = argc >= 4 && std::atoi(argv[2]) > 0 && std::atoi(argv[3]) > 0;
    const bool window = kind && sized && std::strcmp(argv[1], "window") == 0;
    const bool thief = argc == 4 && sized && std::strcmp(argv[1], "focus-thief") == 0;
    if (!cursor && !grabs && !window && !thief)
        return usage();
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "qvxprobe: cannot open display '%s'\n", XDisplayName(nullptr));
        return kNoServer;
    }
    const auto width = sized ? static_cast<unsigned>(std::atoi(argv[2])) : 0U;
    const auto height = sized ? static_cast<unsigned>(std::atoi(argv[3])) : 0U;
    const int result = cursor  ? probeCursor(display)
                       : grabs ? probeGrabs(display)
                       : thief ? focusThief(display, width, height)
                               : hostWindow(display, width, height, *kind);
    XCloseDisplay(display);
    return result;
}
