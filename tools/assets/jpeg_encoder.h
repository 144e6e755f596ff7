#pragma once

#include "tools/assets/raster.h"

#include <cstdint>
#include <vector>

namespace assets {

inline constexpr int kJpegQuality = 95;

// Encodes the picture as a baseline JFIF file in memory, with full-resolution
// colour: small soft pictures would bleed colour with the usual halved
// chroma. Throws std::runtime_error if the encoder fails.
std::vector<std::uint8_t> encodeJpeg(const Raster& picture, int quality = kJpegQuality);

} // namespace assets
