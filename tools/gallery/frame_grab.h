#pragma once

#include <cstdint>
#include <vector>

// The back buffer of the current OpenGL frame, before the swap: width x
// height pixels as bytes B, G, R, A (alpha as the driver left it), the top
// row first.
std::vector<std::uint8_t> grabBackBuffer(int width, int height);
