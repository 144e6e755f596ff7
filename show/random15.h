#pragma once

#include <cstdint>

// The classic 15-bit linear congruential generator: draws from 0 to 32767,
// the range the swarm's formulas are written for. Seeded once; every draw of
// the show comes from one instance, so a seed replays a whole show.
class Random15 {
public:
    static constexpr int kMaxDraw = 0x7FFF;

    Random15() = default;
    explicit Random15(std::uint32_t seed) : State(seed) {}

    void seed(std::uint32_t seed) { State = seed; }

    int next() {
        State = State * kMultiplier + kIncrement;
        return static_cast<int>((State >> kDrawShift) & kMaxDraw);
    }

private:
    static constexpr std::uint32_t kMultiplier = 214013;
    static constexpr std::uint32_t kIncrement = 2531011;
    static constexpr int kDrawShift = 16;

    std::uint32_t State = 1;
};
