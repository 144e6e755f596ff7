#pragma once

// A fresh swarm for every test, with no engine behind it: the pixels have no
// billboards, and every random draw comes from a known seed.

#include "show/show_state.h"
#include "show/swarm/pixel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

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

    // The modulus of every draw that one call of the effect makes, in order.
    // The steps that follow the call are not recorded.
    static std::vector<int> drawsOf(bool (*effect)()) {
        std::vector<int> record;
        Show.DrawRecord = &record;
        effect();
        Show.DrawRecord = nullptr;
        for (Pixel* p : swarm())
            p->step();
        return record;
    }

    // The same draws once for every pixel in use, in index order.
    static std::vector<int> perPixel(std::initializer_list<int> draws) {
        std::vector<int> all;
        for (std::size_t i = 0; i < swarm().size(); ++i)
            all.insert(all.end(), draws);
        return all;
    }

    static std::vector<int> joined(std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }

    // Seeds the show's generator with the first seed whose draws, replayed
    // from a copy, satisfy fits: a way to arrange a chosen run.
    template <typename Fits>
    static void seedWhere(Fits fits) {
        std::uint32_t seed = 1;
        while (!fits(Random15(seed)))
            ++seed;
        Show.Random.seed(seed);
    }

    // The longest frame count in the swarm, or 0.
    static std::int32_t longestTrip() {
        std::int32_t longest = 0;
        for (Pixel* p : swarm())
            longest = std::max(longest, p->FramesLeft);
        return longest;
    }

    // An effect called in a stage it does not know keeps running and changes
    // nothing: it draws nothing, aims no pixel and leaves its state as it was.
    template <typename State>
    static void expectUnknownStageIgnored(bool (*effect)(), State& state, std::int32_t stage) {
        state.Stage = static_cast<decltype(state.Stage)>(stage);
        unsigned char before[sizeof(State)];
        std::memcpy(before, static_cast<const void*>(&state), sizeof(State));
        std::vector<irr::core::vector3df> velocities;
        for (Pixel* p : swarm())
            velocities.push_back(p->Velocity);
        std::vector<int> draws;
        Show.DrawRecord = &draws;
        EXPECT_TRUE(effect());
        Show.DrawRecord = nullptr;
        EXPECT_TRUE(draws.empty()) << "no draw was made";
        EXPECT_EQ(std::memcmp(before, static_cast<const void*>(&state), sizeof(State)), 0) << "the state is as it was";
        for (std::size_t i = 0; i < velocities.size(); ++i)
            EXPECT_EQ(pixel(i).Velocity, velocities[i]) << "pixel " << i;
    }

    // Calls until the effect ends; gives the number of calls, the last included.
    static int runToEnd(bool (*effect)(), int limit = 100000) {
        for (int calls = 1; calls <= limit; ++calls)
            if (!frame(effect))
                return calls;
        return -1;
    }
};
