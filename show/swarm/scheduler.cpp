#include "show/swarm/scheduler.h"

#include "show/show_state.h"
#include "show/swarm/effects/effects.h"
#include "show/swarm/pixel.h"

#include <array>

namespace {

using Effect = bool (*)();

// Numbered from 1, in the order the show has always numbered them.
constexpr std::array<Effect, 11> kEffects = {
    ImplosionEffect,  // 1
    GatherSpreadEffect, // 2
    UnfinishedEffect, // 3 cube corners
    UnfinishedEffect, // 4 shell and burst
    UnfinishedEffect, // 5 clusters
    UnfinishedEffect, // 6 focus point
    UnfinishedEffect, // 7 fountain
    UnfinishedEffect, // 8 rising layers
    UnfinishedEffect, // 9 flatten
    UnfinishedEffect, // 10 mirror
    UnfinishedEffect, // 11 scatter
};
constexpr int kEffectCount = static_cast<int>(kEffects.size());
constexpr std::int32_t kNoEffect = 0;

bool isEffect(std::int32_t number) { return number >= 1 && number <= kEffectCount; }

} // namespace

bool updateSwarm() {
    std::int32_t& current = Show.CurrentEffect;
    if (isEffect(current)) {
        if (!kEffects[static_cast<std::size_t>(current - 1)]())
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
