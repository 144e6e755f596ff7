#include "show/frame_rate.h"

#include <cstdio>

namespace {

constexpr int kMargin = 8;   // pixels between the plate and the view's edges
constexpr int kPadding = 4;  // pixels between the text and the plate's edges
const irr::video::SColor kPlateColour(160, 0, 0, 0); // translucent black
const irr::video::SColor kTextColour(255, 255, 255, 255);

} // namespace

void FrameRateMeter::frameDrawn(Clock::time_point now) {
    if (!Counting) {
        Start = now;
        Frames = 0;
        Counting = true;
        return;
    }
    ++Frames;
    const Clock::duration elapsed = now - Start;
    if (elapsed < kInterval)
        return;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"FPS: %.1f", Frames / seconds);
    Text = text;
    Start = now;
    Frames = 0;
}

void FrameRateMeter::restart() { Counting = false; }

void drawCornerText(const DeviceParams& d, const std::wstring& text) {
    if (!d.GuiEnvironment || !d.VideoDriver)
        return;
    irr::gui::IGUIFont* font = d.GuiEnvironment->getBuiltInFont();
    if (!font)
        return;
    const irr::core::dimension2du size = font->getDimension(text.c_str());
    const irr::core::dimension2du view = d.VideoDriver->getScreenSize();
    const int width = static_cast<int>(size.Width) + 2 * kPadding;
    const int height = static_cast<int>(size.Height) + 2 * kPadding;
    const int bottom = static_cast<int>(view.Height) - kMargin;
    const irr::core::recti plate(kMargin, bottom - height, kMargin + width, bottom);
    d.VideoDriver->draw2DRectangle(kPlateColour, plate);
    const irr::core::recti textArea(plate.UpperLeftCorner.X + kPadding, plate.UpperLeftCorner.Y + kPadding,
                                    plate.LowerRightCorner.X - kPadding, plate.LowerRightCorner.Y - kPadding);
    font->draw(text.c_str(), textArea, kTextColour);
}
