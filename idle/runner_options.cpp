#include "idle/runner_options.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>

namespace idle {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 60 * 60;

std::optional<std::int64_t> unitSeconds(char unit) {
    switch (unit) {
    case 's': return 1;
    case 'm': return kSecondsPerMinute;
    case 'h': return kSecondsPerHour;
    default: return std::nullopt;
    }
}

RunnerOptionsError error(std::string message) { return RunnerOptionsError{std::move(message)}; }

std::string plural(std::int64_t count, const char* unit) {
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

} // namespace

std::variant<std::chrono::seconds, RunnerOptionsError> parseDuration(std::string_view text) {
    const std::string wanted = "a time such as 180, 90s, 3m or 1h (1 second to 24 hours), not '" +
                               std::string(text) + "'";
    std::int64_t factor = 1;
    std::string_view number = text;
    if (!number.empty() && !std::isdigit(static_cast<unsigned char>(number.back()))) {
        const auto unit = unitSeconds(number.back());
        if (!unit)
            return error(wanted);
        factor = *unit;
        number.remove_suffix(1);
    }
    std::int64_t count = 0;
    const auto [end, failure] = std::from_chars(number.data(), number.data() + number.size(), count);
    if (number.empty() || failure != std::errc() || end != number.data() + number.size() || count < 0 ||
        count > kLongestIdleTime.count())
        return error(wanted);
    const std::chrono::seconds duration(count * factor);
    if (duration < kShortestIdleTime || duration > kLongestIdleTime)
        return error(wanted);
    return duration;
}

std::variant<RunnerOptions, RunnerOptionsError> parseRunnerOptions(const std::vector<std::string_view>& args,
                                                                   std::string defaultShow) {
    RunnerOptions options;
    options.Show = std::move(defaultShow);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = arg.find('='); arg.substr(0, 2) == "--" && equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        if (arg == "--help" || arg == "-h") {
            if (value)
                return error("--help takes no value");
            return RunnerOptions{options.IdleTime, options.Show, true};
        }
        if (arg != "--idle-time" && arg != "--show")
            return error("unknown option '" + std::string(args[i]) + "'");
        if (!value) {
            if (i + 1 == args.size())
                return error(std::string(arg) + " wants a value");
            value = args[++i];
        }
        if (arg == "--show") {
            if (value->empty())
                return error("--show wants a program");
            options.Show = std::string(*value);
            continue;
        }
        const auto duration = parseDuration(*value);
        if (const auto* failure = std::get_if<RunnerOptionsError>(&duration))
            return error("--idle-time wants " + failure->Message);
        options.IdleTime = std::get<std::chrono::seconds>(duration);
    }
    return options;
}

std::string runnerUsage(std::string_view programName, std::string_view defaultShow) {
    const std::string name(programName);
    return "usage: " + name + " [--idle-time TIME] [--show PROGRAM]\n"
           "\n"
           "Runs the screen saver once the desktop has had no input for TIME, and\n"
           "ends it when input comes again. It leaves at once where xscreensaver\n"
           "or mate-screensaver runs the session's screen saver.\n"
           "\n"
           "  --idle-time TIME   seconds (180), or 90s, 3m, 1h; " + durationText(kDefaultIdleTime) +
           " unless given\n"
           "  --show PROGRAM     the screen saver to run, one on each monitor\n"
           "                     (" + std::string(defaultShow) + " unless given)\n"
           "  --help             this text\n";
}

std::string durationText(std::chrono::seconds duration) {
    const std::int64_t seconds = duration.count();
    if (seconds % kSecondsPerHour == 0)
        return plural(seconds / kSecondsPerHour, "hour");
    if (seconds % kSecondsPerMinute == 0)
        return plural(seconds / kSecondsPerMinute, "minute");
    return plural(seconds, "second");
}

} // namespace idle
