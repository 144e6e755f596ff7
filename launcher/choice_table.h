#pragma once

// The options dialog's side of the shared choice table: which list and which
// check box shows each setting.

#include "settings/choice_table.h"

#include <array>

namespace launcher {

using choices::CheckSetting;
using choices::ChoiceList;

inline constexpr int kIdCountList = 1019;
inline constexpr int kIdSizeList = 1020;
inline constexpr int kIdColorList = 1021;
inline constexpr int kIdDistanceList = 1022;
inline constexpr int kIdSpeedList = 1023;
inline constexpr int kIdBackgroundCheck = 1024;
inline constexpr int kIdLightingCheck = 1025;

// In the order of choices::kLists and choices::kChecks.
inline constexpr std::array<int, choices::kListCount> kListControlIds = {
    kIdCountList, kIdSizeList, kIdColorList, kIdDistanceList, kIdSpeedList};
inline constexpr std::array<int, choices::kCheckCount> kCheckControlIds = {kIdBackgroundCheck, kIdLightingCheck};

} // namespace launcher
