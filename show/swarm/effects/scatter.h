#pragma once

#include <cstdint>

enum class ScatterStage : std::int32_t { Start = 1, Flying = 2 };

struct ScatterState {
    ScatterStage Stage = ScatterStage::Start;
    std::int32_t Frames = 0; // of the flight, then its countdown
};

bool ScatterEffect();
