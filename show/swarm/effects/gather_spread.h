#pragma once

#include <cstdint>

enum class GatherSpreadStage : std::int32_t { Start = 1, Gathering = 2, Spreading = 3 };

struct GatherSpreadState {
    GatherSpreadStage Stage = GatherSpreadStage::Start;
    std::int32_t HalfWidth = 0; // of the spread figure, world units
};

bool GatherSpreadEffect();
