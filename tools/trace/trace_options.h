#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What qvtrace was asked for. Pixels is the count as the show uses it, after
// clamping; Watch holds the indices to print.
struct TraceOptions {
    std::uint32_t Seed = 0;
    std::int32_t Pixels = 1024;
    std::int32_t Color = 0;
    std::int64_t Frames = 1000;
    std::vector<std::int32_t> Watch;
};

// Nothing, with the reason in error, when an argument is missing or bad.
std::optional<TraceOptions> parseTraceOptions(const std::vector<std::string>& args, std::string& error);
