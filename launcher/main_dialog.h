#pragma once

// The options dialog: the seven show settings as five lists and two check
// boxes, loaded when it opens and written when the user presses OK.

#include "launcher/resources/resource_ids.h"
#include "platform/dialog_kit/dialog.h"

namespace launcher {

inline constexpr int kIdAboutButton = QV_IDC_ABOUT;

class MainDialog final : public platform::Dialog {
public:
    bool processMessage(const platform::DialogEvent& event) override;

private:
    void load();
    void save();
    void openAbout();
};

} // namespace launcher
