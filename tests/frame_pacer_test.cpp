#include "show/frame_pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

using namespace std::chrono_literals;
using Clock = FramePacer::Clock;

namespace {

const Clock::time_point kStart{1s};

} // namespace

TEST(FramePacer, FramesThatEndEarlyStartOneRefreshPeriodApart) {
    FramePacer pacer(50.0); // 20 ms
    EXPECT_EQ(pacer.nextStart(kStart), kStart);
    EXPECT_EQ(pacer.nextStart(kStart + 5ms), kStart + 20ms);
    EXPECT_EQ(pacer.nextStart(kStart + 39ms), kStart + 40ms);
    EXPECT_EQ(pacer.nextStart(kStart + 41ms), kStart + 60ms); // within a period: still on the grid
}

TEST(FramePacer, ALateFrameIsNotMadeUpWithABurstOfQuickOnes) {
    FramePacer pacer(50.0);
    pacer.nextStart(kStart);
    EXPECT_EQ(pacer.nextStart(kStart + 200ms), kStart + 200ms); // at once, and the grid starts again
    EXPECT_EQ(pacer.nextStart(kStart + 201ms), kStart + 220ms);
    EXPECT_EQ(pacer.nextStart(kStart + 230ms), kStart + 240ms);
}

TEST(FramePacer, UsesTheDisplaysRateAndSixtyHertzWhenItIsUnknownOrUnbelievable) {
    const auto period = [](std::optional<double> hertz) {
        return std::chrono::duration<double>(FramePacer(hertz).period()).count();
    };
    EXPECT_NEAR(period(144.0), 1.0 / 144, 1e-9);
    EXPECT_NEAR(period(59.94), 1.0 / 59.94, 1e-9);
    for (const std::optional<double> bad : {std::optional<double>(), std::optional<double>(0.0),
                                            std::optional<double>(-60.0), std::optional<double>(1e6),
                                            std::optional<double>(std::numeric_limits<double>::quiet_NaN())})
        EXPECT_NEAR(period(bad), 1.0 / 60, 1e-9);
}
