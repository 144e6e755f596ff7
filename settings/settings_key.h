#pragma once

// The settings key as both programs open it: always created, never just
// opened, and closed explicitly by its owner.

#include "platform/settings_store/registry.h"
#include "settings/schema.h"

#include <cstddef>
#include <cstdint>

class SettingsKey {
public:
    static constexpr std::size_t kPathSize = 512;  // bytes, with the terminating zero
    static constexpr std::size_t kTextSize = 1024; // bytes, with the terminating zero

    SettingsKey();
    ~SettingsKey();
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    // The 4-byte read: whatever four bytes are stored under the name, or, when
    // that fails for any reason, the default, which is then written back as a
    // REG_DWORD. The result of the write-back is not looked at.
    std::uint32_t readDword(const char* name, std::uint32_t defaultBits);
    std::int32_t readInt(const char* name, std::int32_t defaultValue);
    // A float outside the span, or not a number at all, counts as missing,
    // with one line on stderr that says so.
    float readFloat(const char* name, float defaultValue, schema::FloatSpan span);

    // A text value, or an empty text that is then written back under the name.
    // The result lives until the next readText or the end of the object.
    const char* readText(const char* name);

    void writeDword(const char* name, std::uint32_t bits);
    void writeInt(const char* name, std::int32_t value);
    void writeFloat(const char* name, float value);

    void close();
    bool isOpen() const { return Handle != nullptr; }

private:
    platform::KeyHandle Handle = nullptr;
    char Path[kPathSize] = {};
    char Text[kTextSize] = {};
};
