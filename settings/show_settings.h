#pragma once

#include "settings/schema.h"

#include <cstdint>
#include <optional>

// The seven settings as the show holds them for the whole run.
struct ShowSettings {
    std::int32_t PixelsUsed = schema::kDefaultPixelsUsed;
    float PixelsSize = schema::kDefaultPixelsSize;
    std::int32_t PixelsColor = schema::kDefaultPixelsColor;
    bool UseLighting = false;
    float CameraDistance = schema::kDefaultCameraDistance;
    float CameraSpeed = schema::kDefaultCameraSpeed;
    bool UseBackground = true;
};

// Settings chosen for one run (on a command line, say) that win over the
// stored ones; they are never written back.
struct SettingsOverrides {
    std::optional<std::int32_t> PixelsUsed;
    std::optional<float> PixelsSize;
    std::optional<std::int32_t> PixelsColor;
    std::optional<bool> UseLighting;
    std::optional<float> CameraDistance;
    std::optional<float> CameraSpeed;
    std::optional<bool> UseBackground;
};

ShowSettings withOverrides(ShowSettings settings, const SettingsOverrides& overrides);

// Reads the seven values in their fixed order, writing back any that are missing.
ShowSettings loadSettings();

// Keeps the pixel count within what the swarm can hold; the stored number stays.
std::int32_t clampPixelCount(std::int32_t stored);
