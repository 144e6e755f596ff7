#pragma once

// The launcher's resources: its two dialog templates and its icon.

#include "platform/dialog_kit/dialog.h"

class QIcon;

namespace launcher {

inline constexpr int kOptionsTemplateId = 109;
inline constexpr int kAboutTemplateId = 108;

const platform::DialogTemplate& optionsTemplate();
const platform::DialogTemplate& aboutTemplate();

// The program's icon, at 16 and 32 pixels.
QIcon programIcon();

} // namespace launcher
