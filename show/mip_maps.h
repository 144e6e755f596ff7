#pragma once

#include <irrlicht.h>

#include <cstdint>
#include <vector>

// The smaller sizes of a picture of 32-bit pixels, largest first, down to
// 1x1, each pixel the rounded average of the two or four pixels it covers
// in the size above: what a driver's own mip-map making gives. Rows are
// WIDTH pixels long, without padding.
std::vector<std::uint8_t> mipChain(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height);

// Gives a mip-mapped 32-bit texture its smaller sizes from its own pixels.
// False, with the texture as it was, when it has none or cannot be read.
bool fillMipMaps(irr::video::ITexture& texture);
