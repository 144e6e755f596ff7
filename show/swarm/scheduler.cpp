#include "show/swarm/scheduler.h"

#include "show/show_state.h"
#include "show/swarm/effects/effects.h"
#include "show/swarm/pixel.h"

#include <array>

namespace {

// Numbered from 1, in the order the show has always numbered them.
constexpr std::array<EffectFunction, 11> kEffects = {
    ImplosionEffect,    // 1
    GatherSpreadEffect, // 2
    CubeCornersEffect,  // 3
    ShellBurstEffect,   // 4
    ClustersEffect,     // 5
    FocusPointEffect,   // 6
    FountainEffect,     // 7
    RisingLayersEffect, // 8
    FlattenEffect,      // 9
    MirrorEffect,       // 10
    ScatterEffect,      // 11
};
constexpr std::int32_t kNoEffect = 0;

bool isEffect(std::int32_t number) { return number >= 1 && number <= kEffectCount; }

} // namespace

EffectFunction effectNumbered(std::int32_t number) {
    return isEffect(number) ? kEffects[static_cast<std::size_t>(number - 1)] : nullptr;
}

bool updateSwarm() {
    std::int32_t& current = Show.CurrentEffect;
    if (isEffect(current)) {
        if (!effectNumbered(current)())
            current = kNoEffect;
    } else {
        // The frame that chooses runs no effect; the pixels just fly on.
        current = randomBelow(kEffectCount) + 1;
    }
    for (Pixel* pixel : swarm())
        if (pixel)
            pixel->step();
    return !Show.QuitRequested;
}
