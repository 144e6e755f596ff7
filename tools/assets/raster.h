#pragma once

// An 8-bit RGB picture in memory, rows top to bottom, three bytes a pixel.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// A colour with channels from 0 to 1, for drawing before the final rounding.
struct Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

class Raster {
public:
    static constexpr int kChannels = 3;

    Raster(int width, int height)
        : Width(width), Height(height),
          Bytes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kChannels) {}

    int width() const { return Width; }
    int height() const { return Height; }
    const std::vector<std::uint8_t>& bytes() const { return Bytes; }

    Rgb at(int x, int y) const {
        const std::size_t i = index(x, y);
        return {Bytes[i], Bytes[i + 1], Bytes[i + 2]};
    }
    void set(int x, int y, Rgb c) {
        const std::size_t i = index(x, y);
        Bytes[i] = c.r;
        Bytes[i + 1] = c.g;
        Bytes[i + 2] = c.b;
    }

private:
    std::size_t index(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)) *
               kChannels;
    }

    int Width;
    int Height;
    std::vector<std::uint8_t> Bytes;
};

// Rounds a 0..1 channel to a byte, clamping values outside that range.
std::uint8_t toByte(float channel);
Rgb toRgb(Colour c);

} // namespace assets
