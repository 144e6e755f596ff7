#pragma once

#include <cstdint>

enum class RisingLayersStage : std::int32_t { Start = 1, FirstLayer = 2, SecondLayer = 3, ThirdLayer = 4 };

struct RisingLayersState {
    RisingLayersStage Stage = RisingLayersStage::Start;
    std::int32_t Frames = 0; // of the current leg, then its countdown
};

bool RisingLayersEffect();
