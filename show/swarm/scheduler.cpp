#include "show/swarm/scheduler.h"

#include "show/show_state.h"
#include "show/swarm/pixel.h"

namespace {

constexpr std::int32_t kNoEffect = 0;

bool isEffect(std::int32_t number) { return number >= 1 && number <= kEffectCount; }

} // namespace

EffectFunction effectNumbered(std::int32_t number) {
    return isEffect(number) ? kEffectTable[static_cast<std::size_t>(number - 1)].Run : nullptr;
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
