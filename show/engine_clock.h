#pragma once

// The engine's clock, which the camera and the light circle by, kept to
// the steady clock. The engine counts wall-clock milliseconds since 1970 in
// 32 bits: the count wraps every 49.7 days, and the wall clock itself steps
// when it is corrected. The engine takes differences that survive a wrap,
// but a step back makes its next difference some 49 days, which its
// animators can no longer tell apart by the millisecond: the camera would
// move in jumps from then on.

#include <irrlicht.h>

#include <chrono>

class EngineClock {
public:
    // From now on the engine's time runs on from where it stands, by the
    // steady clock.
    void start(irr::ITimer& timer);
    // After each run of the device, which reads the wall clock.
    void tick();

private:
    irr::ITimer* Timer = nullptr;
    std::chrono::steady_clock::time_point Started;
    irr::u32 StartTime = 0; // the engine's, in milliseconds
};
