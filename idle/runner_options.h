#pragma once

// quorvel3d-idle's command line, read without side effects.

#include <chrono>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace idle {

// Long enough that a pause to read is not taken for leaving the desk, and
// short of the five minutes after which GNOME blanks and Plasma locks by
// default: the show comes before the screen goes dark.
constexpr std::chrono::seconds kDefaultIdleTime{180};
constexpr std::chrono::seconds kShortestIdleTime{1};
constexpr std::chrono::seconds kLongestIdleTime{24 * 60 * 60};

struct RunnerOptions {
    std::chrono::seconds IdleTime = kDefaultIdleTime;
    std::string Show; // the screen saver to run
    bool HelpWanted = false;
};

struct RunnerOptionsError {
    std::string Message; // one line, without the program's name
};

// "180", "90s", "3m" or "1h": a whole number of seconds, minutes or hours.
std::variant<std::chrono::seconds, RunnerOptionsError> parseDuration(std::string_view text);

std::variant<RunnerOptions, RunnerOptionsError> parseRunnerOptions(const std::vector<std::string_view>& args,
                                                                   std::string defaultShow);

std::string runnerUsage(std::string_view programName, std::string_view defaultShow);

// "3 minutes", "90 seconds", "1 hour".
std::string durationText(std::chrono::seconds duration);

} // namespace idle
