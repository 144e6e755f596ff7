#pragma once

// The about box: the program's icon and version, the two home pages and the
// licence text of the installation.

#include "platform/dialog_kit/dialog.h"

namespace launcher {

inline constexpr int kIdProductPageButton = 102;
inline constexpr int kIdMakerPageButton = 103;
inline constexpr int kIdLicenseButton = 104;

inline constexpr const char* kProductHomePage = "https://www.brenmark.example/quorvel3d/";
inline constexpr const char* kMakerHomePage = "https://www.brenmark.example/";

class AboutDialog final : public platform::Dialog {
public:
    bool processMessage(const platform::DialogEvent& event) override;

private:
    void showLicence();
};

} // namespace launcher
