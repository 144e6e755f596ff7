#pragma once

#include <optional>
#include <vector>

namespace platform {

struct ScreenSize {
    int Width = 0;  // pixels
    int Height = 0; // pixels
};

// A part of the display, in pixels from its top left corner.
struct ScreenArea {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// The size of the primary display; the whole X screen when no output is
// marked primary. Nothing when no display can be opened.
std::optional<ScreenSize> primaryScreenSize();

// The show's own connection to the X display, held for the whole run. A
// server started without -noreset resets when its last client leaves and
// refuses whoever connects in that moment: a connection closed just before
// the engine opens its own would now and then leave the engine refused.
class DisplayConnection {
public:
    DisplayConnection(); // opens the default display; check isOpen
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    bool isOpen() const { return Handle != nullptr; }
    void* handle() const { return Handle; } // the Xlib Display

    // The root window of the default screen, for a show drawn on it.
    unsigned long rootWindow() const;

    ScreenSize primaryScreenSize() const;
    // The monitors that show something, in the display's own order.
    std::vector<ScreenArea> monitors() const;
    // The primary display's refresh rate in hertz; nothing when the server
    // does not say.
    std::optional<double> refreshRate() const;

private:
    void* Handle = nullptr;
};

} // namespace platform
