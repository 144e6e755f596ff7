// Draws the program's icon, a handful of glowing balls circling on a night
// sky, into a Windows icon file with a 16 and a 32 pixel image of 256
// colours each. It runs on the build machine, so it needs nothing but the
// standard library.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr std::array kSizes = {16, 32}; // pixels
constexpr std::array<std::uint32_t, 6> kBallColours = {0xFFE040, 0xFF4040, 0x4070FF,
                                                       0x40F0F0, 0xC050FF, 0x50F050};
constexpr std::uint32_t kSkyInner = 0x1C2A5C;
constexpr std::uint32_t kSkyOuter = 0x05060F;
constexpr double kSkyRadius = 0.7;      // of the icon's size
constexpr double kCornerRadius = 0.2;   // of the icon's size
constexpr double kOrbitRadius = 0.3;    // of the icon's size
constexpr double kBallRadius = 0.14;    // of the icon's size
constexpr double kCoreRadius = 0.14;    // of the icon's size
constexpr double kOrbitTilt = 0.77;     // vertical squash of the orbit
constexpr double kBallWhiteStop = 0.35; // where the white core has turned into the ball's colour
constexpr int kSamples = 4;             // per pixel and axis
constexpr std::size_t kPaletteSize = 256;

struct Colour {
    double R = 0, G = 0, B = 0;
};

Colour fromRgb(std::uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

Colour mix(const Colour& a, const Colour& b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

struct Ball {
    double X, Y, Radius;
    Colour Tint;
};

// Colour and opacity of a ball's glow at distance d from its centre.
std::pair<Colour, double> glow(const Ball& ball, double d) {
    const double t = d / ball.Radius;
    if (t >= 1)
        return {ball.Tint, 0};
    if (t <= kBallWhiteStop)
        return {mix({1, 1, 1}, ball.Tint, t / kBallWhiteStop), 1};
    return {ball.Tint, 1 - (t - kBallWhiteStop) / (1 - kBallWhiteStop)};
}

bool insideRoundedSquare(double x, double y, double size) {
    const double r = size * kCornerRadius;
    const double cx = std::clamp(x, r, size - r);
    const double cy = std::clamp(y, r, size - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r && x >= 0 && y >= 0 && x <= size && y <= size;
}

struct Pixel {
    std::array<std::uint8_t, 3> Rgb{};
    bool Opaque = false;
};

std::vector<Ball> ballsFor(int size) {
    const double centre = size / 2.0;
    std::vector<Ball> balls{{centre, centre, size * kCoreRadius, {1, 1, 1}}};
    for (std::size_t index = 0; index < kBallColours.size(); ++index) {
        const double angle = 2 * std::numbers::pi * static_cast<double>(index) / kBallColours.size();
        balls.push_back({centre + std::cos(angle) * size * kOrbitRadius,
                         centre + std::sin(angle) * size * kOrbitRadius * kOrbitTilt, size * kBallRadius,
                         fromRgb(kBallColours[index])});
    }
    return balls;
}

std::vector<Pixel> drawIcon(int size) {
    const std::vector<Ball> balls = ballsFor(size);
    const double centre = size / 2.0;
    std::vector<Pixel> pixels(static_cast<std::size_t>(size * size));
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Colour sum;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = px + (sx + 0.5) / kSamples;
                    const double y = py + (sy + 0.5) / kSamples;
                    if (!insideRoundedSquare(x, y, size))
                        continue;
                    const double d = std::hypot(x - centre, y - centre) / (size * kSkyRadius);
                    Colour c = mix(fromRgb(kSkyInner), fromRgb(kSkyOuter), std::min(d, 1.0));
                    for (const Ball& ball : balls) {
                        const auto [tint, alpha] = glow(ball, std::hypot(x - ball.X, y - ball.Y));
                        c = mix(c, tint, alpha);
                    }
                    sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B};
                    ++covered;
                }
            }
            Pixel& pixel = pixels[static_cast<std::size_t>(py * size + px)];
            pixel.Opaque = covered * 2 >= kSamples * kSamples;
            if (covered > 0) {
                pixel.Rgb = {static_cast<std::uint8_t>(std::lround(sum.R / covered * 255)),
                             static_cast<std::uint8_t>(std::lround(sum.G / covered * 255)),
                             static_cast<std::uint8_t>(std::lround(sum.B / covered * 255))};
            }
        }
    }
    return pixels;
}

using Rgb = std::array<std::uint8_t, 3>;

// Median cut: split the box with the widest channel range at its median
// until the palette is full or nothing is left to split.
std::vector<Rgb> paletteFor(const std::vector<Pixel>& pixels) {
    std::vector<std::vector<Rgb>> boxes(1);
    for (const Pixel& pixel : pixels)
        boxes[0].push_back(pixel.Rgb);
    const auto range = [](const std::vector<Rgb>& box, int channel) {
        const auto [low, high] =
            std::minmax_element(box.begin(), box.end(),
                                [channel](const Rgb& a, const Rgb& b) { return a[channel] < b[channel]; });
        return (*high)[channel] - (*low)[channel];
    };
    while (boxes.size() < kPaletteSize) {
        std::size_t widest = 0;
        int channel = 0;
        int best = 0;
        for (std::size_t index = 0; index < boxes.size(); ++index)
            for (int c = 0; c < 3; ++c)
                if (boxes[index].size() > 1 && range(boxes[index], c) > best) {
                    best = range(boxes[index], c);
                    widest = index;
                    channel = c;
                }
        if (best == 0)
            break;
        std::vector<Rgb>& box = boxes[widest];
        std::sort(box.begin(), box.end(),
                  [channel](const Rgb& a, const Rgb& b) { return a[channel] < b[channel]; });
        std::vector<Rgb> upper(box.begin() + static_cast<std::ptrdiff_t>(box.size() / 2), box.end());
        box.resize(box.size() / 2);
        boxes.push_back(std::move(upper));
    }
    std::vector<Rgb> palette;
    for (const std::vector<Rgb>& box : boxes) {
        std::array<long, 3> total{};
        for (const Rgb& colour : box)
            for (int c = 0; c < 3; ++c)
                total[c] += colour[c];
        const long count = static_cast<long>(box.size());
        palette.push_back({static_cast<std::uint8_t>(total[0] / count),
                           static_cast<std::uint8_t>(total[1] / count),
                           static_cast<std::uint8_t>(total[2] / count)});
    }
    palette.resize(kPaletteSize);
    return palette;
}

std::uint8_t nearest(const std::vector<Rgb>& palette, const Rgb& colour) {
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t index = 0; index < palette.size(); ++index) {
        int distance = 0;
        for (int c = 0; c < 3; ++c)
            distance += (palette[index][c] - colour[c]) * (palette[index][c] - colour[c]);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    }
    return static_cast<std::uint8_t>(best);
}

void put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::size_t rowBytes(int bits) { return static_cast<std::size_t>((bits + 31) / 32 * 4); }

// One image as the icon file stores it: the bitmap header with the doubled
// height, the palette, the colour rows and the transparency mask, both
// bottom-up.
std::string iconImage(int size) {
    const std::vector<Pixel> pixels = drawIcon(size);
    const std::vector<Rgb> palette = paletteFor(pixels);
    std::string out;
    constexpr unsigned kHeaderBytes = 40;
    put32(out, kHeaderBytes);
    put32(out, static_cast<unsigned>(size));
    put32(out, static_cast<unsigned>(size * 2));
    put16(out, 1); // planes
    put16(out, 8); // bits per pixel
    for (int field = 0; field < 4; ++field)
        put32(out, 0); // no compression, image size, resolution
    put32(out, kPaletteSize);
    put32(out, 0);
    for (const Rgb& colour : palette) {
        out.push_back(static_cast<char>(colour[2]));
        out.push_back(static_cast<char>(colour[1]));
        out.push_back(static_cast<char>(colour[0]));
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(rowBytes(size * 8), '\0');
        for (int x = 0; x < size; ++x)
            row[static_cast<std::size_t>(x)] =
                static_cast<char>(nearest(palette, pixels[static_cast<std::size_t>(y * size + x)].Rgb));
        out += row;
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(rowBytes(size), '\0');
        for (int x = 0; x < size; ++x)
            if (!pixels[static_cast<std::size_t>(y * size + x)].Opaque)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        out += row;
    }
    return out;
}

std::string iconFile() {
    std::vector<std::string> images;
    for (const int size : kSizes)
        images.push_back(iconImage(size));
    std::string out;
    put16(out, 0);
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<unsigned>(images.size()));
    constexpr unsigned kDirectoryBytes = 6;
    constexpr unsigned kEntryBytes = 16;
    unsigned offset = kDirectoryBytes + kEntryBytes * static_cast<unsigned>(images.size());
    for (std::size_t index = 0; index < images.size(); ++index) {
        out.push_back(static_cast<char>(kSizes[index]));
        out.push_back(static_cast<char>(kSizes[index]));
        out.push_back(0); // 256 colours
        out.push_back(0);
        put16(out, 1);
        put16(out, 8);
        put32(out, static_cast<unsigned>(images[index].size()));
        put32(out, offset);
        offset += static_cast<unsigned>(images[index].size());
    }
    for (const std::string& image : images)
        out += image;
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.ico\n", argv[0]);
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << iconFile();
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
