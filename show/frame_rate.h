#pragma once

#include "show/device_params.h"

#include <chrono>
#include <string>

// Frames per second as the overlay shows them: frames counted over about a
// second, the text changed once each second.
class FrameRateMeter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kInterval = std::chrono::seconds(1);

    // A frame has been drawn at NOW.
    void frameDrawn(Clock::time_point now);

    // The counting starts afresh, for a show that was not drawing for a while.
    void restart();

    const std::wstring& text() const { return Text; }

private:
    Clock::time_point Start{};
    bool Counting = false;
    int Frames = 0;
    std::wstring Text = L"FPS: --";
};

// TEXT in the engine's built-in font on a dark plate in the lower left
// corner of the view, over whatever has been drawn.
void drawCornerText(const DeviceParams& d, const std::wstring& text);
