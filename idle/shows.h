#pragma once

// The shows the idle runner starts, one on each monitor, and their ends.

#include "idle/idle_runner.h"

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace idle {

class Shows {
public:
    using Clock = std::chrono::steady_clock;
    // A show that will not go after SIGTERM is killed after this long.
    static constexpr std::chrono::seconds kStopGrace{5};

    explicit Shows(std::string program) : Program(std::move(program)) {}

    // One show with no options where the display has one monitor, else one
    // with --monitor N on each. False, with FAILURE set, when none started.
    bool start(int monitors, std::string& failure);
    void stop();
    // Kills what has outlived its grace.
    void killStragglers(Clock::time_point now);
    std::optional<Clock::time_point> killDeadline() const;

    // The shows that have ended since the last call, reaped.
    std::vector<ShowExit> reap();
    bool running() const { return !Running.empty(); }

private:
    struct Running_ {
        pid_t Process = 0;
        int Monitor = 0;
        bool Stopped = false;
    };

    std::string Program;
    std::vector<Running_> Running;
    std::optional<Clock::time_point> Deadline;
};

} // namespace idle
