#include "show/swarm/effects/box_flight.h"

#include "show/swarm/effects/effect_kit.h"

namespace {

float drawIn(const HundredthsRange& range) { return randomHundredths(range.Grid, range.Offset); }

} // namespace

void sendToBox(const BoxRange& box, std::int32_t frames) {
    aimEach([&](Pixel& pixel, std::size_t) {
        const float z = drawIn(box.Z);
        const float y = drawIn(box.Y);
        const float x = drawIn(box.X);
        pixel.moveToWithin(irr::core::vector3df(x, y, z), frames);
    });
}

std::int32_t flyLeg(const BoxLeg& leg) {
    const std::int32_t frames = leg.FramesBase + randomBelow(leg.FramesSpread);
    sendToBox(leg.Box, frames);
    return frames;
}
