#pragma once

// The encodings a settings file may come in besides UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class ByteOrder { LittleEndian, BigEndian };

// UTF-16 code units (without a byte-order mark) as UTF-8, or nothing when
// they are not valid UTF-16: an odd byte count or an unpaired surrogate.
std::optional<std::string> utf16ToUtf8(std::string_view units, ByteOrder order);

} // namespace platform
