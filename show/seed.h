#pragma once

#include <cstdint>
#include <optional>

// The show draws from one generator seeded once. QV_SEED, when it holds an
// unsigned 32-bit decimal number, replaces the calendar time, so that a show
// can be replayed for a bug report or a picture.
inline constexpr const char* kSeedVariable = "QV_SEED";

std::optional<std::uint32_t> parseSeed(const char* text);

// The seed for this run: QV_SEED when it is a valid number, else the time.
std::uint32_t chooseSeed();
