// The engine's clock, which the camera and the light circle by, across
// what the wall clock does on a machine that stays up: its 32-bit
// millisecond count wrapping, and steps back and forth (an NTP correction).
// ctest runs this under libfaketime, started a moment before a wrap, with
// the wall clock's offset in a file the cases rewrite; run plainly, the
// wall clock only runs on.

#include "show/engine_clock.h"
#include "show/show.h"
#include "show/show_state.h"

#include <gtest/gtest.h>

#include <sys/time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

namespace {

constexpr auto kFrame = std::chrono::milliseconds(10);
constexpr int kFramesEachSide = 40;
constexpr int kWrapFrames = 250; // longer than the two seconds to the wrap
constexpr int kTurnFrames = 320; // longer than a turn at the fastest speed
constexpr double kPi = 3.14159265358979323846;
// A frame's turn may differ from the median's by scheduling, not by this.
constexpr double kMostTurnRatio = 4.0;

// The wall clock's offset, where libfaketime reads it from; empty when the
// test runs without it.
std::string offsetFile() {
    const char* file = std::getenv("FAKETIME_TIMESTAMP_FILE");
    return file ? file : "";
}

void stepWallClock(const std::string& offset) {
    const std::string file = offsetFile();
    if (file.empty())
        return;
    std::ofstream(file, std::ios::trunc) << offset << "\n";
}

constexpr std::uint64_t kWrap = std::uint64_t{1} << 32; // milliseconds
constexpr std::uint64_t kMillisecondsPerSecond = 1000;

std::uint64_t wallMilliseconds() {
    timeval now{};
    gettimeofday(&now, nullptr);
    return static_cast<std::uint64_t>(now.tv_sec) * kMillisecondsPerSecond +
           static_cast<std::uint64_t>(now.tv_usec) / kMillisecondsPerSecond;
}

// The offset, in whole seconds, that puts the wall clock one to two seconds
// before the 32-bit millisecond count next wraps.
std::string justBeforeTheWrap() {
    const std::uint64_t now = wallMilliseconds();
    const std::uint64_t wrap = (now / kWrap + 1) * kWrap;
    return "+" + std::to_string((wrap - now) / kMillisecondsPerSecond - 1);
}

class EngineClockTest : public ::testing::Test {
protected:
    void SetUp() override { stepWallClock("+0"); }
    void TearDown() override {
        stopHeadlessShow();
        stepWallClock("+0");
    }

    void startShow(float cameraSpeed = 0.0005f) { // a turn in 12.6 s
        ShowSettings settings;
        settings.CameraSpeed = cameraSpeed;
        ASSERT_TRUE(startHeadlessShow(settings, 7));
        Clock.start(*Show.Device.Device->getTimer(), EngineClock::cameraTurn(settings.CameraSpeed));
    }

    // The camera's angle around the swarm after one more frame.
    double frame() {
        std::this_thread::sleep_for(kFrame);
        Show.Device.Device->run();
        Clock.tick();
        Show.Device.SceneManager->drawAll();
        const irr::core::vector3df at = Show.Camera->getAbsolutePosition();
        return std::atan2(at.Z, at.X);
    }

    // The angle each frame turns by, over FRAMES frames.
    std::vector<double> turns(int frames) {
        std::vector<double> each;
        double before = frame();
        for (int i = 0; i < frames; ++i) {
            const double now = frame();
            double turn = now - before;
            if (turn > kPi)
                turn -= 2 * kPi;
            if (turn < -kPi)
                turn += 2 * kPi;
            each.push_back(turn);
            before = now;
        }
        return each;
    }

    static double median(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    // The camera turns the same way every frame, by about as much as before.
    static void expectSteady(const std::vector<double>& before, const std::vector<double>& after) {
        const double usual = median(before);
        ASSERT_NE(usual, 0.0);
        for (const double turn : after) {
            EXPECT_GT(turn / usual, 0.0) << "the camera turned back or stood still";
            EXPECT_LT(turn / usual, kMostTurnRatio) << "the camera jumped";
        }
    }

    EngineClock Clock;
};

TEST_F(EngineClockTest, TheCameraCirclesOnAcrossTheMillisecondCountsWrap) {
    if (offsetFile().empty())
        GTEST_SKIP() << "the wall clock is set by libfaketime, as ctest runs this";
    stepWallClock(justBeforeTheWrap());
    startShow();
    const std::vector<double> before = turns(kFramesEachSide);
    const std::uint32_t first = static_cast<std::uint32_t>(wallMilliseconds());
    const std::vector<double> across = turns(kWrapFrames);
    ASSERT_LT(static_cast<std::uint32_t>(wallMilliseconds()), first) << "the count did not wrap meanwhile";
    expectSteady(before, across);
}

TEST_F(EngineClockTest, AWallClockStepBackOrForthMovesNothing) {
    startShow();
    const std::vector<double> before = turns(kFramesEachSide);
    stepWallClock("-3600");
    const std::vector<double> back = turns(kFramesEachSide);
    stepWallClock("+3600");
    const std::vector<double> forth = turns(kFramesEachSide);
    expectSteady(before, back);
    expectSteady(before, forth);
}

// The engine's time starts over after each of the camera's turns, where
// the camera and the light stand as they started.
TEST_F(EngineClockTest, TheCameraCirclesOnWhereItsTurnStartsOver) {
    startShow(0.002f); // "Very Fast": a turn in 3.1 s
    const std::vector<double> before = turns(kFramesEachSide);
    const std::vector<double> across = turns(kTurnFrames);
    expectSteady(before, across);
}

} // namespace
