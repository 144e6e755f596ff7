#include "show/engine_clock.h"

#include <cmath>

namespace {

constexpr double kFullTurn = 6.283185307179586; // radians
constexpr double kLongestTurn = 1 << 24;         // milliseconds a float still counts one by one
constexpr double kMillisecondRange = 4294967296.0; // of the engine's 32-bit count

} // namespace

void EngineClock::start(irr::ITimer& timer, std::optional<double> turn) {
    Timer = &timer;
    Started = std::chrono::steady_clock::now();
    StartTime = timer.getTime();
    Turn = turn;
}

// The engine's times are 32 bits of milliseconds, and wrap as the engine's
// own do: every difference it takes stays right.
void EngineClock::tick() {
    if (!Timer)
        return;
    double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Started).count();
    if (Turn)
        elapsed = std::fmod(elapsed, *Turn);
    Timer->setTime(StartTime + static_cast<irr::u32>(std::fmod(elapsed, kMillisecondRange)));
}

std::optional<double> EngineClock::cameraTurn(float speed) {
    const double turn = kFullTurn / std::fabs(static_cast<double>(speed));
    if (!std::isfinite(turn) || turn > kLongestTurn)
        return std::nullopt;
    return turn;
}
