#pragma once

// The one settings key that the show and the launcher share: its path, the
// names of its values and their defaults.

#include <cstdint>
#include <cstring>

namespace schema {

inline constexpr const char* kKeyPath = "SOFTWARE\\Brenmark\\Quorvel 3D";

inline constexpr const char* kPixelsUsed = "PixelsUsed";
inline constexpr const char* kPixelsSize = "PixelsSize";
inline constexpr const char* kPixelsColor = "PixelsColor";
inline constexpr const char* kUseLighting = "UseLighting";
inline constexpr const char* kCameraDistance = "CameraDistance";
inline constexpr const char* kCameraSpeed = "CameraSpeed";
inline constexpr const char* kUseBackground = "UseBackground";
inline constexpr const char* kInstallDir = "InstallDir";

inline constexpr std::int32_t kDefaultPixelsUsed = 1024;
inline constexpr float kDefaultPixelsSize = 2.0f;        // world units
inline constexpr std::int32_t kDefaultPixelsColor = 0;   // a random picture per pixel
inline constexpr std::int32_t kDefaultUseLighting = 0;
inline constexpr float kDefaultCameraDistance = 140.0f;  // world units
inline constexpr float kDefaultCameraSpeed = 0.0005f;    // engine fly-circle speed
inline constexpr std::int32_t kDefaultUseBackground = 1;

// A boolean setting is on only when the stored number is exactly this.
inline constexpr std::int32_t kSwitchedOn = 1;

inline constexpr std::int32_t kMinPixels = 256;
inline constexpr std::int32_t kMaxPixels = 4096;

// The span of a float setting that still gives a picture. A NaN lies in no
// span, so a span test also refuses what is not a number.
struct FloatSpan {
    float Lowest;
    float Highest;
    bool holds(float value) const { return value >= Lowest && value <= Highest; }
};

// A negative size turns each billboard's back to the camera, and it is
// culled; the engine treats zero as one. From about 1e10 world units the
// rasteriser loses the billboards' corners and only part of the screen
// is covered; the bound keeps two orders of magnitude from that.
inline constexpr FloatSpan kPixelsSizeSpan{0.0f, 1e8f};
// The camera's distance from the swarm is squared for its direction, which
// overflows at about 1.8e19 and leaves every pixel black.
inline constexpr FloatSpan kCameraDistanceSpan{-1e18f, 1e18f};
// The circling angle is the clock's milliseconds (up to 2^32, when the
// clock wraps) times the speed, and the light circles five times as fast:
// beyond about 1.6e28 the angle overflows before the clock wraps, and every
// position becomes a NaN.
inline constexpr FloatSpan kCameraSpeedSpan{-1e27f, 1e27f};

// Floats are stored as the four bytes of their single-precision pattern.
inline std::uint32_t floatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
inline float bitsFloat(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace schema
