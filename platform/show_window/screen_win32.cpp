#include "platform/show_window/screen.h"

#include <windows.h>

#include <cstdint>

namespace platform {
namespace {

// What EnumDisplaySettings reports when the rate is the hardware's default,
// which says nothing about the actual rate.
constexpr DWORD kUnknownRateHz = 1;

ScreenSize systemScreenSize() {
    return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

} // namespace

std::optional<ScreenSize> primaryScreenSize() {
    const ScreenSize size = systemScreenSize();
    if (size.Width <= 0 || size.Height <= 0)
        return std::nullopt;
    return size;
}

// Windows has no connection to open; the desktop window stands for the display.
DisplayConnection::DisplayConnection() : Handle(GetDesktopWindow()) {}

DisplayConnection::~DisplayConnection() = default;

unsigned long DisplayConnection::rootWindow() const {
    // Window handles keep to 32 bits on 64-bit Windows.
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(GetDesktopWindow()));
}

ScreenSize DisplayConnection::primaryScreenSize() const { return systemScreenSize(); }

// The show runs on one monitor only here: Windows starts one screen saver.
std::vector<ScreenArea> DisplayConnection::monitors() const { return {}; }

std::optional<double> DisplayConnection::refreshRate() const {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) || mode.dmDisplayFrequency <= kUnknownRateHz)
        return std::nullopt;
    return static_cast<double>(mode.dmDisplayFrequency);
}

} // namespace platform
