#include "idle/runner_options.h"
#include "idle/single_instance.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string_view>;

std::chrono::seconds duration(std::string_view text) {
    const auto parsed = idle::parseDuration(text);
    EXPECT_TRUE(std::holds_alternative<std::chrono::seconds>(parsed)) << text;
    return std::holds_alternative<std::chrono::seconds>(parsed) ? std::get<std::chrono::seconds>(parsed) : 0s;
}

bool refused(std::string_view text) {
    return std::holds_alternative<idle::RunnerOptionsError>(idle::parseDuration(text));
}

idle::RunnerOptions options(const Args& args) {
    const auto parsed = idle::parseRunnerOptions(args, "/usr/libexec/xscreensaver/quorvel3d");
    if (const auto* failure = std::get_if<idle::RunnerOptionsError>(&parsed))
        ADD_FAILURE() << failure->Message;
    return std::holds_alternative<idle::RunnerOptions>(parsed) ? std::get<idle::RunnerOptions>(parsed)
                                                               : idle::RunnerOptions{};
}

TEST(RunnerOptions, TimesComeInSecondsMinutesOrHours) {
    EXPECT_EQ(duration("180"), 180s);
    EXPECT_EQ(duration("90s"), 90s);
    EXPECT_EQ(duration("3m"), 180s);
    EXPECT_EQ(duration("1h"), 3600s);
    EXPECT_EQ(duration("24h"), 86400s);
}

TEST(RunnerOptions, TimesOutsideASecondToADayAreRefused) {
    for (const char* text : {"0", "0m", "", "m", "-5", "25h", "1441m", "3.5m", "3 m", "3min", "99999999999999999999"})
        EXPECT_TRUE(refused(text)) << text;
}

TEST(RunnerOptions, TheDefaultsAreTheInstalledScreenSaverAfterThreeMinutes) {
    const idle::RunnerOptions chosen = options({});
    EXPECT_EQ(chosen.IdleTime, 180s);
    EXPECT_EQ(chosen.Show, "/usr/libexec/xscreensaver/quorvel3d");
    EXPECT_EQ(idle::durationText(chosen.IdleTime), "3 minutes");
}

TEST(RunnerOptions, OptionsTakeTheirValueEitherWay) {
    const idle::RunnerOptions chosen = options({"--idle-time=2", "--show", "/tmp/show"});
    EXPECT_EQ(chosen.IdleTime, 2s);
    EXPECT_EQ(chosen.Show, "/tmp/show");
    EXPECT_TRUE(options({"--show=x", "--help"}).HelpWanted);
    for (const Args& wrong : {Args{"--idle-time"}, Args{"--idle-time", "soon"}, Args{"--show="}, Args{"--fast"},
                              Args{"--help=1"}})
        EXPECT_TRUE(std::holds_alternative<idle::RunnerOptionsError>(idle::parseRunnerOptions(wrong, "x")));
}

TEST(SessionLock, EachDisplayIsASessionOfItsOwn) {
    EXPECT_EQ(idle::sessionKey("wayland-1", ":0"), "wayland-1");
    EXPECT_EQ(idle::sessionKey("/run/user/1000/wayland-0", nullptr), "wayland-0");
    EXPECT_EQ(idle::sessionKey(nullptr, ":1.0"), "x11-1.0");
    EXPECT_EQ(idle::sessionKey("", "host:2"), "x11-host_2");
    EXPECT_EQ(idle::sessionKey(nullptr, "../x"), "x11-.._x");
}

} // namespace
