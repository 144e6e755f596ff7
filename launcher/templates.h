#pragma once

// The launcher's resources: its two dialog templates and its icon.

#include "launcher/resources/resource_ids.h"
#include "platform/dialog_kit/dialog.h"

class QIcon;

namespace launcher {

inline constexpr int kOptionsTemplateId = QV_IDD_OPTIONS;
inline constexpr int kAboutTemplateId = QV_IDD_ABOUT;

const platform::DialogTemplate& optionsTemplate();
const platform::DialogTemplate& aboutTemplate();

// The program's icon, at 16 and 32 pixels.
QIcon programIcon();

} // namespace launcher
