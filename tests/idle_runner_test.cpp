#include "idle/idle_runner.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using idle::IdleRunner;
using idle::ShowExit;
using Stage = IdleRunner::Stage;

class FakeDesktop final : public idle::RunnerActions {
public:
    bool startShows() override {
        ++Starts;
        Running = StartsWork;
        return StartsWork;
    }
    void stopShows() override {
        ++Stops;
        Running = false;
    }
    std::optional<std::string> daemonInCharge() override { return Daemon; }
    void say(const std::string& line) override { Lines.push_back(line); }

    bool StartsWork = true;
    std::optional<std::string> Daemon;
    int Starts = 0;
    int Stops = 0;
    bool Running = false;
    std::vector<std::string> Lines;
};

ShowExit ownEnd(bool clean, std::string how = "with exit code 0") { return {0, false, clean, std::move(how)}; }

TEST(IdleRunner, IdleStartsTheShowAndInputEndsIt) {
    FakeDesktop desktop;
    IdleRunner runner(desktop);
    runner.idleBegan();
    EXPECT_EQ(desktop.Starts, 1);
    EXPECT_EQ(runner.stage(), Stage::Showing);
    runner.activityCame();
    EXPECT_EQ(desktop.Stops, 1);
    EXPECT_EQ(runner.stage(), Stage::Waiting);
    runner.showEnded({0, true, true, "by signal 15 (Terminated)"}, false);
    EXPECT_TRUE(desktop.Lines.empty());
    runner.idleBegan();
    EXPECT_EQ(desktop.Starts, 2);
}

// A key on one monitor's show ends them all; the next show waits for the
// next idle time, not for the compositor to say idle again at once.
TEST(IdleRunner, AShowThatEndsByItselfEndsTheOthersAndWaitsForInput) {
    FakeDesktop desktop;
    IdleRunner runner(desktop);
    runner.idleBegan();
    runner.showEnded(ownEnd(true), true);
    EXPECT_EQ(desktop.Stops, 1);
    EXPECT_EQ(runner.stage(), Stage::Resting);
    EXPECT_TRUE(desktop.Lines.empty());
    runner.idleBegan(); // a source that repeats itself starts nothing
    EXPECT_EQ(desktop.Starts, 1);
    runner.activityCame();
    EXPECT_EQ(desktop.Stops, 1);
    runner.idleBegan();
    EXPECT_EQ(desktop.Starts, 2);
}

TEST(IdleRunner, ACrashIsToldInOneLineAndNotStartedOver) {
    FakeDesktop desktop;
    IdleRunner runner(desktop);
    runner.idleBegan();
    runner.showEnded(ownEnd(false, "by signal 11 (Segmentation fault)"), false);
    ASSERT_EQ(desktop.Lines.size(), 1U);
    EXPECT_NE(desktop.Lines[0].find("signal 11"), std::string::npos);
    EXPECT_EQ(runner.stage(), Stage::Resting);
    EXPECT_EQ(desktop.Starts, 1);
}

TEST(IdleRunner, AShowThatCannotStartLeavesTheRunnerWaiting) {
    FakeDesktop desktop;
    desktop.StartsWork = false;
    IdleRunner runner(desktop);
    runner.idleBegan();
    EXPECT_EQ(runner.stage(), Stage::Resting);
    runner.activityCame();
    EXPECT_EQ(desktop.Stops, 0);
    EXPECT_EQ(runner.stage(), Stage::Waiting);
}

TEST(IdleRunner, ADaemonThatCameLaterTakesOver) {
    FakeDesktop desktop;
    desktop.Daemon = "xscreensaver";
    IdleRunner runner(desktop);
    runner.idleBegan();
    EXPECT_EQ(desktop.Starts, 0);
    EXPECT_EQ(runner.stage(), Stage::Leaving);
    EXPECT_EQ(runner.exitStatus(), 0);
    ASSERT_EQ(desktop.Lines.size(), 1U);
    EXPECT_NE(desktop.Lines[0].find("xscreensaver"), std::string::npos);
}

TEST(IdleRunner, TheSessionsEndEndsTheShowsWithOneLine) {
    FakeDesktop desktop;
    IdleRunner runner(desktop);
    runner.idleBegan();
    runner.sessionEnded("the Wayland compositor has gone");
    EXPECT_EQ(desktop.Stops, 1);
    EXPECT_EQ(runner.stage(), Stage::Leaving);
    runner.showEnded({0, true, false, "with exit code 1"}, false); // its display went too
    runner.activityCame();
    EXPECT_EQ(desktop.Lines, std::vector<std::string>{"the Wayland compositor has gone; ending"});
    EXPECT_EQ(runner.exitStatus(), 0);
}

} // namespace
