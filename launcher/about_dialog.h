#pragma once

// The about box: the program's icon and version, the two home pages and the
// licence text of the installation.

#include "launcher/resources/resource_ids.h"
#include "platform/dialog_kit/dialog.h"

namespace launcher {

inline constexpr int kIdProductPageButton = QV_IDC_PRODUCT_PAGE;
inline constexpr int kIdMakerPageButton = QV_IDC_MAKER_PAGE;
inline constexpr int kIdLicenseButton = QV_IDC_LICENSE;

inline constexpr const char* kProductHomePage = "https://www.brenmark.example/quorvel3d/";
inline constexpr const char* kMakerHomePage = "https://www.brenmark.example/";

class AboutDialog final : public platform::Dialog {
public:
    bool processMessage(const platform::DialogEvent& event) override;

private:
    void showLicence();
};

} // namespace launcher
