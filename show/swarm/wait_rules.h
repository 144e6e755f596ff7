#pragma once

#include <cstdint>

// The two ways the effects time their stages.

// Count-down wait: a wait that starts at k lasts k + 1 calls; the last one,
// on which this gives false, makes the stage's transition.
bool countDown(std::int32_t& wait);

// Capped longest wait: fold each aimed pixel's frame count in, then cap.
void foldLongest(std::int32_t& wait, std::int32_t framesLeft);
void capLongestWait(std::int32_t& wait);
