#pragma once

#include "settings/show_settings.h"

#include <cstdint>
#include <vector>

// One run of an effect in a replayed show, counted in updates from the start.
struct EffectRun {
    std::int32_t Effect = 0;
    std::int64_t PickedAt = 0; // the update that chose it; its first call is the next one
    std::int64_t Length = 0;   // calls, the last (returning false) included

    std::int64_t halfWay() const { return PickedAt + Length / 2; }
};

// The first complete run of every effect, in the order they happen, from a
// replay on the null driver. Effects that do not run within the search are missing.
std::vector<EffectRun> findFirstRuns(const ShowSettings& settings, std::uint32_t seed);
