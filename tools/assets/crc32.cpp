#include "tools/assets/crc32.h"

#include <array>

namespace assets {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;
constexpr int kBitsPerByte = 8;

constexpr std::array<std::uint32_t, 256> makeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < kBitsPerByte; ++bit)
            c = (c & 1u) ? kPolynomial ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kTable = makeTable();

} // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = kAllOnes;
    for (std::size_t i = 0; i < size; ++i)
        c = kTable[(c ^ data[i]) & 0xFFu] ^ (c >> kBitsPerByte);
    return c ^ kAllOnes;
}

} // namespace assets
