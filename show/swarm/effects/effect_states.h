#pragma once

#include <vector3d.h>

#include <cstdint>

// The private state of each effect. It lives for the whole run inside the
// show's record; only its own effect touches it. Every effect starts a run in
// its Start stage and is back there when the run ends.

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

enum class CubeCornersStage : std::int32_t { Start = 1, Flying = 2 };

struct CubeCornersState {
    CubeCornersStage Stage = CubeCornersStage::Start;
    std::int32_t Wait = 0; // frames
    bool Hold = false;     // a held run freezes the pixels short of their corners
};

enum class ShellBurstStage : std::int32_t { Start = 1, Catching = 2, Bursting = 3 };

struct ShellBurstState {
    ShellBurstStage Stage = ShellBurstStage::Start;
    std::int32_t Wait = 0;                // frames
    std::int32_t CatchRadiusSquared = 0;  // of the catching sphere, square world units
    bool Burst = false;                   // a burst run ends by blowing the shell apart
};

enum class ClustersStage : std::int32_t { Start = 1, Waiting = 2, Drifting = 3 };

struct ClustersState {
    ClustersStage Stage = ClustersStage::Start;
    std::int32_t Wait = 0; // frames
    irr::core::vector3df Points[3];
};

enum class FocusPointStage : std::int32_t { Start = 1, Waiting = 2 };

struct FocusPointState {
    FocusPointStage Stage = FocusPointStage::Start;
    std::int32_t Wait = 0; // frames
    irr::core::vector3df Focus;
};

enum class FountainStage : std::int32_t { Start = 1, Running = 2 };

struct FountainState {
    FountainStage Stage = FountainStage::Start;
    std::int32_t FramesLeft = 0; // of the run
};

enum class RisingLayersStage : std::int32_t { Start = 1, FirstLayer = 2, SecondLayer = 3, ThirdLayer = 4 };

struct RisingLayersState {
    RisingLayersStage Stage = RisingLayersStage::Start;
    std::int32_t Frames = 0; // of the current leg, then its countdown
};

// Flatten and mirror are one machine with two tables of transformations.
enum class TransformStage : std::int32_t { Start = 1, Flying = 2 };

struct TransformState {
    TransformStage Stage = TransformStage::Start;
    std::int32_t Frames = 0; // of the flight, then its countdown
};

enum class ScatterStage : std::int32_t { Start = 1, Flying = 2 };

struct ScatterState {
    ScatterStage Stage = ScatterStage::Start;
    std::int32_t Frames = 0; // of the flight, then its countdown
};

struct EffectStates {
    ImplosionState Implosion;
    GatherSpreadState GatherSpread;
    CubeCornersState CubeCorners;
    ShellBurstState ShellBurst;
    ClustersState Clusters;
    FocusPointState FocusPoint;
    FountainState Fountain;
    RisingLayersState RisingLayers;
    TransformState Flatten;
    TransformState Mirror;
    ScatterState Scatter;
};
