#include "show/frame_rate.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

TEST(FrameRateMeter, ShowsTheFramesOfTheLastSecondOncePerSecond) {
    FrameRateMeter meter;
    const FrameRateMeter::Clock::time_point start{};
    EXPECT_EQ(meter.text(), L"FPS: --");
    for (int frame = 0; frame <= 59; ++frame)
        meter.frameDrawn(start + milliseconds(frame * 1000 / 60));
    EXPECT_EQ(meter.text(), L"FPS: --") << "less than a second has been counted";
    meter.frameDrawn(start + milliseconds(1000));
    EXPECT_EQ(meter.text(), L"FPS: 60.0");
    // Twenty frames in the next second: the text changes only when it is over.
    for (int frame = 1; frame < 20; ++frame)
        meter.frameDrawn(start + milliseconds(1000 + frame * 50));
    EXPECT_EQ(meter.text(), L"FPS: 60.0");
    meter.frameDrawn(start + milliseconds(2000));
    EXPECT_EQ(meter.text(), L"FPS: 20.0");
}

TEST(FrameRateMeter, APauseIsNotCountedAsOneSlowFrame) {
    FrameRateMeter meter;
    const FrameRateMeter::Clock::time_point start{};
    meter.frameDrawn(start);
    meter.restart();
    for (int frame = 0; frame <= 30; ++frame)
        meter.frameDrawn(start + std::chrono::seconds(60) + milliseconds(frame * 1000 / 30));
    EXPECT_EQ(meter.text(), L"FPS: 30.0");
}

} // namespace
