#include "tools/gallery/frame_grab.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::size_t kBytesPerPixel = 4;

} // namespace

std::vector<std::uint8_t> grabBackBuffer(int width, int height) {
    const std::size_t row = static_cast<std::size_t>(width) * kBytesPerPixel;
    const auto rows = static_cast<std::size_t>(height);
    std::vector<std::uint8_t> bottomUp(row * rows);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (std::size_t y = 0; y < rows; ++y)
        std::copy_n(bottomUp.data() + (rows - 1 - y) * row, row, topDown.data() + y * row);
    return topDown;
}
