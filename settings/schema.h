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
