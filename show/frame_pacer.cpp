#include "show/frame_pacer.h"

#include <cmath>

namespace {

double believedHertz(std::optional<double> hertz) {
    if (!hertz || !std::isfinite(*hertz) || *hertz < FramePacer::kMinHertz || *hertz > FramePacer::kMaxHertz)
        return FramePacer::kFallbackHertz;
    return *hertz;
}

} // namespace

FramePacer::FramePacer(std::optional<double> refreshHertz)
    : Period(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / believedHertz(refreshHertz)))) {}

FramePacer::Clock::time_point FramePacer::nextStart(Clock::time_point now) {
    if (!Start || *Start + Period < now)
        Start = now; // the first frame, or one that came late: the count starts again
    else
        *Start += Period;
    return *Start;
}
