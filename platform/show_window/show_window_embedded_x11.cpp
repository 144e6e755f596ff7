#include "platform/show_window/show_window_embedded.h"

#include "platform/program_name/program_name.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>

namespace platform {
namespace {

constexpr int kColourBits = 4; // the least the engine asks for per channel

std::atomic<unsigned> XErrors{0};

// A host window destroyed under the engine answers its next drawing with
// BadDrawable or BadWindow; Xlib's own handler would end the process with 1.
int countError(Display*, XErrorEvent*) {
    ++XErrors;
    return 0;
}

// The engine's own request (first round, then with the stencil flipped, as
// the engine itself retries), so that its choice and ours agree.
GLXFBConfig chooseEngineConfig(Display* display, EngineVisualRequest request) {
    for (const bool stencil : {request.Stencil, !request.Stencil}) {
        const int attributes[] = {GLX_RENDER_TYPE, GLX_RGBA_BIT,  GLX_RED_SIZE,      kColourBits,
                                  GLX_GREEN_SIZE,  kColourBits,   GLX_BLUE_SIZE,     kColourBits,
                                  GLX_ALPHA_SIZE,  0,             GLX_DEPTH_SIZE,    request.DepthBits,
                                  GLX_DOUBLEBUFFER, True,         GLX_STENCIL_SIZE,  stencil ? 1 : 0,
                                  GLX_SAMPLE_BUFFERS, 0,          GLX_SAMPLES,       0,
                                  GLX_STEREO,      False,         None};
        int count = 0;
        GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
        if (configs) {
            const GLXFBConfig chosen = count > 0 ? configs[0] : nullptr;
            XFree(configs);
            if (chosen)
                return chosen;
        }
    }
    return nullptr;
}

} // namespace

EmbeddedWindow::EmbeddedWindow(const DisplayConnection& connection, unsigned long host, EngineVisualRequest request)
    : Dpy(connection.handle()), Host(host) {
    auto* display = static_cast<Display*>(Dpy);
    XSetErrorHandler(&countError);
    XWindowAttributes hostAttributes{};
    if (!XGetWindowAttributes(display, Host, &hostAttributes)) {
        std::fprintf(stderr, "%s: there is no window 0x%lx to draw into\n", programName(), Host);
        return;
    }
    const GLXFBConfig config = chooseEngineConfig(display, request);
    XVisualInfo* visual = config ? glXGetVisualFromFBConfig(display, config) : nullptr;
    if (!visual) {
        std::fprintf(stderr, "%s: the display offers no OpenGL configuration to draw with\n", programName());
        return;
    }
    const Window root = RootWindow(display, visual->screen);
    Colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = Colormap;
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask;
    attributes.override_redirect = Host == root; // on the bare root, no frame
    Width = hostAttributes.width;
    Height = hostAttributes.height;
    Child = XCreateWindow(display, Host, 0, 0, static_cast<unsigned>(Width), static_cast<unsigned>(Height), 0,
                          visual->depth, InputOutput, visual->visual,
                          CWColormap | CWBorderPixel | CWEventMask | CWOverrideRedirect, &attributes);
    XFree(visual);
    XSelectInput(display, Host, StructureNotifyMask);
    XMapWindow(display, Child);
    XSync(display, False);
    if (!childExists()) {
        std::fprintf(stderr, "%s: cannot make a window inside 0x%lx\n", programName(), Host);
        Child = 0;
        return;
    }
    Visible = hostAttributes.map_state == IsViewable;
    ErrorsSeen = XErrors;
}

EmbeddedWindow::~EmbeddedWindow() {
    auto* display = static_cast<Display*>(Dpy);
    if (Child && !Gone)
        XDestroyWindow(display, Child);
    if (Colormap)
        XFreeColormap(display, Colormap);
    XSync(display, False);
}

void EmbeddedWindow::shareWithEngine(irr::video::IVideoDriver& driver) {
    if (driver.getDriverType() != irr::video::EDT_OPENGL)
        return;
    EngineDpy = driver.getExposedVideoData().OpenGLLinux.X11Display;
    if (!EngineDpy || !Child)
        return;
    XSelectInput(static_cast<Display*>(EngineDpy), Child, StructureNotifyMask);
    XFlush(static_cast<Display*>(EngineDpy));
}

void EmbeddedWindow::closeEngineConnection() {
    if (EngineDpy)
        XCloseDisplay(static_cast<Display*>(EngineDpy));
    EngineDpy = nullptr;
}

bool EmbeddedWindow::childExists() const {
    XWindowAttributes attributes{};
    return Child && XGetWindowAttributes(static_cast<Display*>(Dpy), Child, &attributes);
}

void EmbeddedWindow::take(const void* eventHandle) {
    const auto& event = *static_cast<const XEvent*>(eventHandle);
    auto* display = static_cast<Display*>(Dpy);
    switch (event.type) {
    case DestroyNotify:
        Gone = Gone || event.xdestroywindow.window == Host || event.xdestroywindow.window == Child;
        break;
    case MapNotify:
        Visible = Visible || event.xmap.window == Host;
        break;
    case UnmapNotify:
        Visible = Visible && event.xunmap.window != Host;
        break;
    case ConfigureNotify:
        if (event.xconfigure.window == Host && (event.xconfigure.width != Width || event.xconfigure.height != Height)) {
            Width = event.xconfigure.width;
            Height = event.xconfigure.height;
            XResizeWindow(display, Child, static_cast<unsigned>(Width), static_cast<unsigned>(Height));
        }
        break;
    default:
        break;
    }
}

void EmbeddedWindow::update() {
    if (!Child || Gone)
        return;
    auto* display = static_cast<Display*>(Dpy);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        take(&event);
    }
    if (XErrors != ErrorsSeen) {
        ErrorsSeen = XErrors;
        Gone = Gone || !childExists();
        ErrorsSeen = XErrors; // the check itself may have failed with an error
    }
    XFlush(display);
}

int EmbeddedWindow::connectionFd() const { return ConnectionNumber(static_cast<Display*>(Dpy)); }

} // namespace platform
