#pragma once

#include <cstdint>

// The private state of each effect. It lives for the whole run inside the
// show's record; only its own effect touches it.

enum class ImplosionStage : std::int32_t { Start = 1, Rushing = 2, Crawling = 3 };

struct ImplosionState {
    ImplosionStage Stage = ImplosionStage::Start;
    std::int32_t Wait = 0; // frames
};

enum class GatherSpreadStage : std::int32_t { Start = 1, Gathering = 2, Spreading = 3 };

struct GatherSpreadState {
    GatherSpreadStage Stage = GatherSpreadStage::Start;
    std::int32_t HalfWidth = 0; // of the spread figure, world units
};

struct EffectStates {
    ImplosionState Implosion;
    GatherSpreadState GatherSpread;
};
