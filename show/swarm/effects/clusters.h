#pragma once

#include <vector3d.h>

#include <cstdint>

enum class ClustersStage : std::int32_t { Start = 1, Waiting = 2, Drifting = 3 };

struct ClustersState {
    ClustersStage Stage = ClustersStage::Start;
    std::int32_t Wait = 0; // frames
    irr::core::vector3df Points[3];
};

bool ClustersEffect();
