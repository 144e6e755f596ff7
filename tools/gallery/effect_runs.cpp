#include "tools/gallery/effect_runs.h"

#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/scheduler.h"

#include <algorithm>

namespace {

constexpr std::int64_t kSearchUpdates = 2000000; // far more than eleven effects need

} // namespace

std::vector<EffectRun> findFirstRuns(const ShowSettings& settings, std::uint32_t seed) {
    std::vector<EffectRun> runs;
    if (!startHeadlessShow(settings, seed))
        return runs;
    std::vector<bool> seen(kEffectCount + 1, false);
    EffectRun current;
    for (std::int64_t update = 1; update <= kSearchUpdates && runs.size() < static_cast<std::size_t>(kEffectCount);
         ++update) {
        const std::int32_t before = Show.CurrentEffect;
        updateSwarm();
        if (before == 0) {
            current = EffectRun{Show.CurrentEffect, update, 0};
        } else if (Show.CurrentEffect == 0) {
            current.Length = update - current.PickedAt;
            if (!seen[static_cast<std::size_t>(current.Effect)]) {
                seen[static_cast<std::size_t>(current.Effect)] = true;
                runs.push_back(current);
            }
        }
    }
    stopHeadlessShow();
    return runs;
}
