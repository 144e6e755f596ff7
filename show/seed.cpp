#include "show/seed.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>

std::optional<std::uint32_t> parseSeed(const char* text) {
    if (!text || *text < '0' || *text > '9')
        return std::nullopt; // no sign, no blank, no empty text
    const char* end = text + std::strlen(text);
    std::uint32_t seed = 0;
    const auto [stop, error] = std::from_chars(text, end, seed);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return seed;
}

std::uint32_t chooseSeed() {
    if (const auto seed = parseSeed(std::getenv(kSeedVariable)))
        return *seed;
    return static_cast<std::uint32_t>(std::time(nullptr));
}
