#pragma once

#include <chrono>
#include <optional>

// Where the driver does not wait for the vertical blank, the show waits
// itself, so that the swarm, which moves a fixed step per frame, keeps its
// designed speed and a fast machine is not kept busy drawing frames nobody
// sees. Frames are spaced one refresh period apart; a frame that comes late
// is not made up for with a burst of quick ones.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr double kFallbackHertz = 60.0; // when the display does not say
    static constexpr double kMinHertz = 20.0;      // below or above these the
    static constexpr double kMaxHertz = 500.0;     // display's answer is not believed

    explicit FramePacer(std::optional<double> refreshHertz);

    // When the next frame may begin, for a frame that has just ended at NOW.
    Clock::time_point nextStart(Clock::time_point now);

    Clock::duration period() const { return Period; }

private:
    Clock::duration Period;
    std::optional<Clock::time_point> Start;
};
