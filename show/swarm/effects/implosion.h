#pragma once

#include <cstdint>

enum class ImplosionStage : std::int32_t { Start = 1, Rushing = 2, Crawling = 3 };

struct ImplosionState {
    ImplosionStage Stage = ImplosionStage::Start;
    std::int32_t Wait = 0; // frames
};

bool ImplosionEffect();
