#pragma once

// The glowing ball pictures: a near-white hot centre fading through the
// ball's colour to pure black at the rim. The show blends them additively,
// so black adds nothing and the square around the ball disappears.

#include "tools/assets/raster.h"

#include <array>

namespace assets {

inline constexpr int kBallSizePx = 64; // a power of two, as every texture size should be
inline constexpr int kBallCount = 6;

// The ball colours in the order of the picture numbers 1 to 6.
inline constexpr std::array<Colour, kBallCount> kBallColours = {{
    {1.00f, 0.92f, 0.12f}, // yellow
    {1.00f, 0.12f, 0.08f}, // red
    {0.12f, 0.28f, 1.00f}, // blue
    {0.10f, 0.90f, 1.00f}, // cyan
    {0.72f, 0.14f, 1.00f}, // purple
    {0.16f, 1.00f, 0.18f}, // green
}};

Raster drawBall(Colour colour, int sizePx = kBallSizePx);

} // namespace assets
