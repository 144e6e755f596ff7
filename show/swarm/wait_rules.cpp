#include "show/swarm/wait_rules.h"

#include "show/show_state.h"

namespace {

constexpr std::int32_t kCapBase = 600; // frames
constexpr int kCapSpread = 400;        // frames

} // namespace

bool countDown(std::int32_t& wait) { return --wait >= 0; }

void foldLongest(std::int32_t& wait, std::int32_t framesLeft) {
    if (framesLeft >= wait)
        wait = framesLeft;
}

// The replacement is a fresh draw, so a capped wait may come out longer or
// shorter than the draw it was tested against.
void capLongestWait(std::int32_t& wait) {
    const std::int32_t cap = kCapBase + randomBelow(kCapSpread);
    if (wait >= cap)
        wait = kCapBase + randomBelow(kCapSpread);
}
