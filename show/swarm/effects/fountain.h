#pragma once

#include <cstdint>

enum class FountainStage : std::int32_t { Start = 1, Running = 2 };

struct FountainState {
    FountainStage Stage = FountainStage::Start;
    std::int32_t FramesLeft = 0; // of the run
};

bool FountainEffect();
