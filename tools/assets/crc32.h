#pragma once

// CRC-32 as zip archives store it (reflected polynomial 0xEDB88320, initial
// value and final XOR all ones).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace assets {

std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

inline std::uint32_t crc32(std::string_view text) {
    return crc32(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace assets
