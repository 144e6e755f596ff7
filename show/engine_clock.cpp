#include "show/engine_clock.h"

void EngineClock::start(irr::ITimer& timer) {
    Timer = &timer;
    Started = std::chrono::steady_clock::now();
    StartTime = timer.getTime();
}

// The engine's times are 32 bits of milliseconds, and wrap as the engine's
// own do: every difference it takes stays right.
void EngineClock::tick() {
    if (!Timer)
        return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Started);
    Timer->setTime(StartTime + static_cast<irr::u32>(elapsed.count()));
}
