#pragma once

#include <string_view>

namespace platform {

// Writes all of text to the descriptor, going on after interrupted or short
// writes. False when the system refuses part of it.
bool writeAll(int fd, std::string_view text);

} // namespace platform
