#include "tools/assets/raster.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {
constexpr float kByteMax = 255.0f;
}

std::uint8_t toByte(float channel) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * kByteMax));
}

Rgb toRgb(Colour c) { return {toByte(c.r), toByte(c.g), toByte(c.b)}; }

} // namespace assets
