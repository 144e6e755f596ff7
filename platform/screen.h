#pragma once

#include <optional>

namespace platform {

struct ScreenSize {
    int Width = 0;  // pixels
    int Height = 0; // pixels
};

// The size of the primary display; the whole X screen when no output is
// marked primary. Nothing when no display can be opened.
std::optional<ScreenSize> primaryScreenSize();

} // namespace platform
