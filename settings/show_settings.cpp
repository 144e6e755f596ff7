#include "settings/show_settings.h"

#include "settings/settings_key.h"

ShowSettings loadSettings() {
    ShowSettings settings;
    SettingsKey key;
    settings.PixelsUsed = key.readInt(schema::kPixelsUsed, schema::kDefaultPixelsUsed);
    settings.PixelsSize = key.readFloat(schema::kPixelsSize, schema::kDefaultPixelsSize, schema::kPixelsSizeSpan);
    settings.PixelsColor = key.readInt(schema::kPixelsColor, schema::kDefaultPixelsColor);
    settings.UseLighting = key.readInt(schema::kUseLighting, schema::kDefaultUseLighting) == schema::kSwitchedOn;
    settings.CameraDistance = key.readFloat(schema::kCameraDistance, schema::kDefaultCameraDistance,
                                            schema::kCameraDistanceSpan);
    settings.CameraSpeed = key.readFloat(schema::kCameraSpeed, schema::kDefaultCameraSpeed, schema::kCameraSpeedSpan);
    settings.UseBackground =
        key.readInt(schema::kUseBackground, schema::kDefaultUseBackground) == schema::kSwitchedOn;
    key.close();
    return settings;
}

std::int32_t clampPixelCount(std::int32_t stored) {
    if (stored >= schema::kMaxPixels)
        return schema::kMaxPixels;
    if (stored <= schema::kMinPixels)
        return schema::kMinPixels;
    return stored;
}

ShowSettings withOverrides(ShowSettings settings, const SettingsOverrides& overrides) {
    settings.PixelsUsed = overrides.PixelsUsed.value_or(settings.PixelsUsed);
    settings.PixelsSize = overrides.PixelsSize.value_or(settings.PixelsSize);
    settings.PixelsColor = overrides.PixelsColor.value_or(settings.PixelsColor);
    settings.UseLighting = overrides.UseLighting.value_or(settings.UseLighting);
    settings.CameraDistance = overrides.CameraDistance.value_or(settings.CameraDistance);
    settings.CameraSpeed = overrides.CameraSpeed.value_or(settings.CameraSpeed);
    settings.UseBackground = overrides.UseBackground.value_or(settings.UseBackground);
    return settings;
}
