#include "tests/support/settings_store.h"

namespace settings_store {

namespace {
constexpr std::uint32_t kDwordType = 4; // REG_DWORD
constexpr std::uint32_t kTextType = 1;  // REG_SZ
} // namespace

Value dword(std::uint32_t bits) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    return {kDwordType, bytes};
}

Value text(const std::string& characters) { return {kTextType, characters + '\0'}; }

} // namespace settings_store
