#pragma once

#include <cstdint>

enum class CubeCornersStage : std::int32_t { Start = 1, Flying = 2 };

struct CubeCornersState {
    CubeCornersStage Stage = CubeCornersStage::Start;
    std::int32_t Wait = 0; // frames
    bool Hold = false;     // a held run freezes the pixels short of their corners
};

bool CubeCornersEffect();
