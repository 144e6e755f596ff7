#include "show/swarm/effects/transform_flight.h"

#include "show/swarm/effects/effect_kit.h"

namespace {

constexpr std::int32_t kFramesBase = 100; // frames: 100 to 199
constexpr int kFramesSpread = 100;

} // namespace

// Each product is rounded to single precision. The axes a transformation
// keeps have a factor of exactly 1, so a pixel on its plane or axis is aimed
// at its own position: a flight of distance 0, and it stays where it is.
bool startTransformFlight(TransformState& state, const irr::core::vector3df* factors, int count) {
    state.Frames = kFramesBase + randomBelow(kFramesSpread);
    const irr::core::vector3df factor = factors[randomBelow(count)];
    aimEach([&](Pixel& pixel, std::size_t) { pixel.moveToWithin(pixel.Position * factor, state.Frames); });
    state.Stage = TransformStage::Flying;
    return true;
}

bool flyTransformFlight(TransformState& state) {
    return waitThenEnd(state, state.Frames);
}
