#include "show/mip_maps.h"

#include <cstring>

namespace {

constexpr std::uint32_t kBytesPerPixel = 4;

// One size down: each side halves, but no side goes below one pixel.
std::uint32_t half(std::uint32_t side) { return side > 1 ? side / 2 : 1; }

// Each pixel of the smaller size averages the pixels it covers: four, or
// two once one side is down to a single pixel.
void halve(const std::uint8_t* from, std::uint32_t width, std::uint32_t height, std::uint8_t* to) {
    const std::size_t right = width > 1 ? kBytesPerPixel : 0;
    const std::size_t below = height > 1 ? static_cast<std::size_t>(width) * kBytesPerPixel : 0;
    const std::uint32_t covered = (right ? 2 : 1) * (below ? 2 : 1);
    for (std::uint32_t y = 0; y < half(height); ++y) {
        const std::uint8_t* p = from + 2 * y * static_cast<std::size_t>(width) * kBytesPerPixel;
        for (std::uint32_t x = 0; x < half(width); ++x, p += 2 * right) {
            for (std::size_t c = 0; c < kBytesPerPixel; ++c) {
                std::uint32_t sum = p[c];
                if (right)
                    sum += p[right + c];
                if (below)
                    sum += p[below + c] + (right ? p[below + right + c] : 0);
                *to++ = static_cast<std::uint8_t>((sum + covered / 2) / covered);
            }
        }
    }
}

} // namespace

std::vector<std::uint8_t> mipChain(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height) {
    std::size_t bytes = 0;
    for (std::uint32_t w = width, h = height; w > 1 || h > 1;) {
        w = half(w), h = half(h);
        bytes += static_cast<std::size_t>(w) * h * kBytesPerPixel;
    }
    std::vector<std::uint8_t> chain(bytes);
    const std::uint8_t* from = pixels;
    std::uint8_t* to = chain.data();
    for (std::uint32_t w = width, h = height; w > 1 || h > 1; w = half(w), h = half(h)) {
        halve(from, w, h, to);
        from = to;
        to += static_cast<std::size_t>(half(w)) * half(h) * kBytesPerPixel;
    }
    return chain;
}

bool fillMipMaps(irr::video::ITexture& texture) {
    if (!texture.hasMipMaps() || texture.getColorFormat() != irr::video::ECF_A8R8G8B8)
        return false;
    const irr::core::dimension2du size = texture.getSize();
    const std::size_t row = static_cast<std::size_t>(size.Width) * kBytesPerPixel;
    const auto* locked = static_cast<const std::uint8_t*>(texture.lock(irr::video::ETLM_READ_ONLY, 0));
    if (!locked)
        return false;
    std::vector<std::uint8_t> top(row * size.Height);
    for (std::uint32_t y = 0; y < size.Height; ++y)
        std::memcpy(top.data() + y * row, locked + static_cast<std::size_t>(y) * texture.getPitch(), row);
    texture.unlock();
    std::vector<std::uint8_t> chain = mipChain(top.data(), size.Width, size.Height);
    if (!chain.empty())
        texture.regenerateMipMapLevels(chain.data());
    return true;
}
