#include "tools/assets/ball_picture.h"

#include <cmath>

namespace assets {
namespace {

// Falloff of the coloured glow, exp(-k r^2) with r = 1 at the rim, shifted
// and rescaled so that it reaches exactly zero there.
constexpr float kGlowFalloff = 3.5f;
// Radius of the white-hot core as a share of the ball's radius.
constexpr float kCoreRadius = 0.28f;
// How far the centre moves from the ball's colour towards white.
constexpr float kCoreWhiteness = 0.85f;
constexpr float kHalfPixel = 0.5f;

float glow(float r) {
    if (r >= 1.0f)
        return 0.0f;
    const float rim = std::exp(-kGlowFalloff);
    return (std::exp(-kGlowFalloff * r * r) - rim) / (1.0f - rim);
}

float core(float r) {
    const float q = r / kCoreRadius;
    return kCoreWhiteness * std::exp(-q * q);
}

// The picture's colour at distance r from the centre, in ball radii.
Colour ballColourAt(Colour colour, float r) {
    const float g = glow(r);
    const float w = core(r);
    return {g * (colour.r + (1.0f - colour.r) * w), g * (colour.g + (1.0f - colour.g) * w),
            g * (colour.b + (1.0f - colour.b) * w)};
}

} // namespace

Raster drawBall(Colour colour, int sizePx) {
    Raster picture(sizePx, sizePx);
    const float radius = 0.5f * static_cast<float>(sizePx);
    for (int y = 0; y < sizePx; ++y)
        for (int x = 0; x < sizePx; ++x) {
            const float dx = static_cast<float>(x) + kHalfPixel - radius;
            const float dy = static_cast<float>(y) + kHalfPixel - radius;
            picture.set(x, y, toRgb(ballColourAt(colour, std::sqrt(dx * dx + dy * dy) / radius)));
        }
    return picture;
}

} // namespace assets
