#pragma once

// The four operations on the settings key that both programs need: on the
// system registry on Windows (registry_win32.cpp), on a REGEDIT4 text file
// on Linux (settings_file.cpp).

#include <cstdint>
#include <string_view>

namespace platform {

// Registry value types, numbered as the system registry numbers them so that
// a REGEDIT4 file keeps its meaning on every platform.
enum class ValueType : std::uint32_t {
    None = 0,
    Text = 1,   // REG_SZ: bytes include the terminating zero
    Binary = 3, // REG_BINARY
    Dword = 4,  // REG_DWORD: four bytes, little-endian
};

enum class QueryResult {
    Ok,
    NotFound,
    TooLarge, // the value exists but does not fit the caller's buffer
    Failed,   // the key is not valid or the store could not be read
};

struct OpenKey;
using KeyHandle = OpenKey*;

// Creates the key if it is missing and opens it. Gives nullptr when the store
// cannot be reached at all; every other operation accepts nullptr and fails.
KeyHandle createKey(std::string_view path);

// Copies the value into data, which holds capacity bytes. On Ok, size is the
// number of bytes copied; on TooLarge it is the number that would be needed.
QueryResult queryValue(KeyHandle key, std::string_view name, void* data, std::uint32_t capacity,
                       std::uint32_t& size, std::uint32_t* type = nullptr);

// Writes the value with its type. Gives false when the store could not be
// written; what was stored before is then left as it was.
bool setValue(KeyHandle key, std::string_view name, std::uint32_t type, const void* data,
              std::uint32_t size);

void closeKey(KeyHandle key);

} // namespace platform
