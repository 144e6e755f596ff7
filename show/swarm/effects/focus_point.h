#pragma once

#include <vector3d.h>

#include <cstdint>

enum class FocusPointStage : std::int32_t { Start = 1, Waiting = 2 };

struct FocusPointState {
    FocusPointStage Stage = FocusPointStage::Start;
    std::int32_t Wait = 0; // frames
    irr::core::vector3df Focus;
};

bool FocusPointEffect();
