#pragma once

// The engine's clock, which the camera and the light circle by, kept to
// the steady clock. The engine counts wall-clock milliseconds since 1970 in
// 32 bits: the count wraps every 49.7 days, and the wall clock itself steps
// when it is corrected. The engine takes differences that survive a wrap,
// but a step back makes its next difference some 49 days, which its
// animators, working in single floats, tell apart only by a quarter of a
// second. Their floats tell hours apart ever more coarsely too (by 16 ms
// after 37 hours), so the engine's time is kept within one turn of
// the camera, after which the camera and the light stand where they
// started: the light turns five times as fast.

#include <irrlicht.h>

#include <chrono>
#include <optional>

class EngineClock {
public:
    // From now on the engine's time runs on from where it stands, by the
    // steady clock, and starts over after TURN (milliseconds), where given.
    void start(irr::ITimer& timer, std::optional<double> turn);
    // After each run of the device, which reads the wall clock.
    void tick();

    // The camera's turn at SPEED radians a millisecond, where it turns at a
    // speed the engine's floats can follow over a turn.
    static std::optional<double> cameraTurn(float speed);

private:
    irr::ITimer* Timer = nullptr;
    std::chrono::steady_clock::time_point Started;
    irr::u32 StartTime = 0; // the engine's, in milliseconds
    std::optional<double> Turn;
};
