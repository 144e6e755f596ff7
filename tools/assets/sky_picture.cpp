#include "tools/assets/sky_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace assets {
namespace {

constexpr Colour kNightColour = {0.010f, 0.014f, 0.040f};

// Haze: smooth value noise on a coarse grid, faint and bluish violet. It
// swings both ways around the night colour, so the picture's average matches
// its uniform rim and the cube's edges show no frame.
constexpr int kHazeCells = 6;                 // grid cells across the picture
constexpr Colour kHazeColour = {0.016f, 0.014f, 0.040f};
constexpr float kHazeMidpoint = 0.5f;
constexpr float kBorderShare = 0.18f;         // share of the side over which haze fades out at the rim

constexpr int kStarCount = 500;
constexpr int kStarMarginPx = 8;              // keeps every star and halo whole inside its face
constexpr float kFaintestStar = 0.18f;
constexpr float kBrightnessSkew = 2.5f;       // higher: more faint stars, fewer bright ones
constexpr float kStarSigmaPx = 0.55f;
constexpr float kHaloSigmaPx = 2.2f;
constexpr float kHaloStrength = 0.12f;        // share of a star's brightness in its halo
constexpr float kHaloThreshold = 0.6f;        // only brighter stars get a halo
constexpr float kSplatReachSigmas = 3.0f;

// Faint star tints: blue-white, white, warm white, pale yellow, pale red.
constexpr std::array<Colour, 5> kStarTints = {{
    {0.80f, 0.88f, 1.00f},
    {1.00f, 1.00f, 1.00f},
    {1.00f, 0.93f, 0.82f},
    {1.00f, 0.95f, 0.70f},
    {1.00f, 0.80f, 0.74f},
}};

// A small deterministic generator (xorshift32), independent of the standard
// library's distributions so the sky is the same with every toolchain.
class SkyRandom {
public:
    explicit SkyRandom(std::uint32_t seed) : State(seed != 0 ? seed : kFallbackSeed) {}

    std::uint32_t next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    // Uniform in [0, 1).
    float unit() { return static_cast<float>(next() >> kDropBits) * kUnitScale; }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    static constexpr std::uint32_t kFallbackSeed = 0x9E3779B9u;
    static constexpr int kDropBits = 8; // keep 24 bits, exactly representable in a float
    static constexpr float kUnitScale = 1.0f / 16777216.0f;
    std::uint32_t State;
};

class FloatPicture {
public:
    explicit FloatPicture(int size) : Size(size), Pixels(static_cast<std::size_t>(size) * size, kNightColour) {}

    int size() const { return Size; }
    void add(int x, int y, Colour c, float weight) {
        if (x < 0 || y < 0 || x >= Size || y >= Size)
            return;
        Colour& p = Pixels[static_cast<std::size_t>(y) * Size + x];
        p.r += c.r * weight;
        p.g += c.g * weight;
        p.b += c.b * weight;
    }
    Raster toRaster() const {
        Raster out(Size, Size);
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x)
                out.set(x, y, toRgb(Pixels[static_cast<std::size_t>(y) * Size + x]));
        return out;
    }

private:
    int Size;
    std::vector<Colour> Pixels;
};

float smoothstep(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// 0 at the picture's rim, rising to 1 a border share inside it.
float borderFade(float u) { return smoothstep(std::min(u, 1.0f - u) / kBorderShare); }

// Smooth value noise: random values on the corners of a coarse grid,
// blended with smoothstep weights in between. u and v run from 0 to 1.
class ValueNoise {
public:
    explicit ValueNoise(SkyRandom& random) {
        for (float& v : Lattice)
            v = random.unit();
    }

    float at(float u, float v) const {
        const float gx = u * kHazeCells;
        const float gy = v * kHazeCells;
        const int cx = std::min(static_cast<int>(gx), kHazeCells - 1);
        const int cy = std::min(static_cast<int>(gy), kHazeCells - 1);
        const float tx = smoothstep(gx - static_cast<float>(cx));
        const float ty = smoothstep(gy - static_cast<float>(cy));
        const float top = mix(corner(cx, cy), corner(cx + 1, cy), tx);
        const float bottom = mix(corner(cx, cy + 1), corner(cx + 1, cy + 1), tx);
        return mix(top, bottom, ty);
    }

private:
    static constexpr int kCorners = kHazeCells + 1;
    static float mix(float a, float b, float t) { return a + (b - a) * t; }
    float corner(int x, int y) const { return Lattice[static_cast<std::size_t>(y * kCorners + x)]; }

    std::array<float, kCorners * kCorners> Lattice{};
};

void drawHaze(FloatPicture& sky, SkyRandom& random) {
    const ValueNoise noise(random);
    const float side = static_cast<float>(sky.size());
    for (int y = 0; y < sky.size(); ++y)
        for (int x = 0; x < sky.size(); ++x) {
            const float u = static_cast<float>(x) / side;
            const float v = static_cast<float>(y) / side;
            sky.add(x, y, kHazeColour, (noise.at(u, v) - kHazeMidpoint) * borderFade(u) * borderFade(v));
        }
}

void splat(FloatPicture& sky, int cx, int cy, Colour tint, float strength, float sigmaPx) {
    const int reach = static_cast<int>(std::ceil(kSplatReachSigmas * sigmaPx));
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const float d2 = static_cast<float>(dx * dx + dy * dy);
            sky.add(cx + dx, cy + dy, tint, strength * std::exp(-d2 / (2.0f * sigmaPx * sigmaPx)));
        }
}

void drawStars(FloatPicture& sky, SkyRandom& random) {
    const int span = sky.size() - 2 * kStarMarginPx;
    for (int i = 0; i < kStarCount; ++i) {
        const int x = kStarMarginPx + random.below(span);
        const int y = kStarMarginPx + random.below(span);
        const float brightness =
            kFaintestStar + (1.0f - kFaintestStar) * std::pow(random.unit(), kBrightnessSkew);
        const Colour tint = kStarTints[random.below(static_cast<int>(kStarTints.size()))];
        splat(sky, x, y, tint, brightness, kStarSigmaPx);
        if (brightness > kHaloThreshold)
            splat(sky, x, y, tint, brightness * kHaloStrength, kHaloSigmaPx);
    }
}

} // namespace

Raster drawSky(int sizePx, std::uint32_t seed) {
    SkyRandom random(seed);
    FloatPicture sky(sizePx);
    drawHaze(sky, random);
    drawStars(sky, random);
    return sky.toRaster();
}

} // namespace assets
