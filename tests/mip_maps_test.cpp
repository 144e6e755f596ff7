#include "show/mip_maps.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> grey(std::initializer_list<std::uint8_t> levels) {
    std::vector<std::uint8_t> pixels;
    for (std::uint8_t level : levels)
        pixels.insert(pixels.end(), {level, level, level, 255});
    return pixels;
}

TEST(MipChain, HalvesEachSideDownToOnePixelAveragingWhatEachPixelCovers) {
    // 4x2: the 2x1 level averages squares of four, the 1x1 level the pair.
    const std::vector<std::uint8_t> picture = grey({0, 10, 100, 101, 20, 30, 200, 201});
    EXPECT_EQ(mipChain(picture.data(), 4, 2), grey({15, 151, 83}));
}

TEST(MipChain, RoundsToTheNearestLevel) {
    EXPECT_EQ(mipChain(grey({0, 0, 1, 1}).data(), 2, 2), grey({1}));
    EXPECT_EQ(mipChain(grey({0, 0, 0, 1}).data(), 2, 2), grey({0}));
}

TEST(MipChain, AOnePixelPictureHasNoSmallerSize) { EXPECT_TRUE(mipChain(grey({7}).data(), 1, 1).empty()); }

} // namespace
