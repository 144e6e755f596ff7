#include "show/show_state.h"

#include "show/swarm/pixel.h"

ShowState Show;

PixelRange swarm() {
    const auto used = static_cast<std::size_t>(Show.Settings.PixelsUsed);
    return {Show.Pixels.data(), used < ShowState::kPixelSlots ? used : ShowState::kPixelSlots};
}

int randomBelow(int m) {
    if (Show.DrawRecord)
        Show.DrawRecord->push_back(m);
    return Show.Random.next() % m;
}

float randomHundredths(int m, double offset) {
    constexpr double kHundredth = 100.0;
    return static_cast<float>(randomBelow(m) / kHundredth + offset);
}
