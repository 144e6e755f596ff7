#pragma once

// The sky-box picture: a dark navy night with faint haze and a few hundred
// stars. The show puts the same picture on all six faces of the sky box, so
// everything near the border is kept uniform to hide the seams.

#include "tools/assets/raster.h"

#include <cstdint>

namespace assets {

inline constexpr int kSkySizePx = 512;
inline constexpr std::uint32_t kSkySeed = 20240611u; // fixed so that every build draws the same sky

Raster drawSky(int sizePx = kSkySizePx, std::uint32_t seed = kSkySeed);

} // namespace assets
