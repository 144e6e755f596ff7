#pragma once

// The options dialog's side of the shared choice table: which list and which
// check box shows each setting.

#include "settings/choice_table.h"

#include "launcher/resources/resource_ids.h"

#include <array>

namespace launcher {

using choices::CheckSetting;
using choices::ChoiceList;

inline constexpr int kIdCountList = QV_IDC_COUNT;
inline constexpr int kIdSizeList = QV_IDC_SIZE;
inline constexpr int kIdColorList = QV_IDC_COLOR;
inline constexpr int kIdDistanceList = QV_IDC_DISTANCE;
inline constexpr int kIdSpeedList = QV_IDC_SPEED;
inline constexpr int kIdBackgroundCheck = QV_IDC_BACKGROUND;
inline constexpr int kIdLightingCheck = QV_IDC_LIGHTING;

// In the order of choices::kLists and choices::kChecks.
inline constexpr std::array<int, choices::kListCount> kListControlIds = {
    kIdCountList, kIdSizeList, kIdColorList, kIdDistanceList, kIdSpeedList};
inline constexpr std::array<int, choices::kCheckCount> kCheckControlIds = {kIdBackgroundCheck, kIdLightingCheck};

} // namespace launcher
