// qvxprobe: answers questions about the X server for the end-to-end tests.
//
//   qvxprobe cursor   prints "visible" when the cursor now shown on the screen
//                   has at least one pixel that is not fully transparent,
//                   else "hidden"
//
// Exit codes: 0 answered, 1 usage, 2 no display or no XFIXES.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kAnswered = 0;
constexpr int kUsage = 1;
constexpr int kNoServer = 2;
constexpr unsigned long kAlphaMask = 0xFF000000UL; // cursor pixels are ARGB

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "cursor") != 0) {
        std::fprintf(stderr, "usage: qvxprobe cursor\n");
        return kUsage;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "qvxprobe: cannot open display '%s'\n", XDisplayName(nullptr));
        return kNoServer;
    }
    const int result = probeCursor(display);
    XCloseDisplay(display);
    return result;
}
