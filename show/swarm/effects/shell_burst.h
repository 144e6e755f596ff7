#pragma once

#include <cstdint>

enum class ShellBurstStage : std::int32_t { Start = 1, Catching = 2, Bursting = 3 };

struct ShellBurstState {
    ShellBurstStage Stage = ShellBurstStage::Start;
    std::int32_t Wait = 0;                // frames
    std::int32_t CatchRadiusSquared = 0;  // of the catching sphere, square world units
    bool Burst = false;                   // a burst run ends by blowing the shell apart
};

bool ShellBurstEffect();
