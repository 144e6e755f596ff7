#pragma once

// A fresh swarm for every test, with no engine behind it: the pixels have no
// billboards, and every random draw comes from a known seed.

#include "show/show_state.h"
#include "show/swarm/pixel.h"

#include <gtest/gtest.h>

class SwarmTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kSeed = 20261208;
    static constexpr std::int32_t kPixels = 256;

    void SetUp() override { startSwarm(kPixels, kSeed); }
    void TearDown() override { clearSwarm(); }

    static void startSwarm(std::int32_t pixels, std::uint32_t seed) {
        clearSwarm();
        Show.Random.seed(seed);
        Show.Settings.PixelsUsed = pixels;
        for (std::int32_t i = 0; i < pixels; ++i)
            Show.Pixels[static_cast<std::size_t>(i)] = new Pixel;
    }

    static void clearSwarm() {
        for (Pixel*& pixel : Show.Pixels) {
            delete pixel;
            pixel = nullptr;
        }
        Show = ShowState{};
    }

    static Pixel& pixel(std::size_t index) { return *Show.Pixels[index]; }

    // One frame as the scheduler runs it: the effect first, then every step.
    static bool frame(bool (*effect)()) {
        const bool running = effect();
        for (Pixel* p : swarm())
            p->step();
        return running;
    }

    // Calls until the effect ends; gives the number of calls, the last included.
    static int runToEnd(bool (*effect)(), int limit = 100000) {
        for (int calls = 1; calls <= limit; ++calls)
            if (!frame(effect))
                return calls;
        return -1;
    }
};
