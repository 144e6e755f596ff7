#include "settings/settings_key.h"

#include "platform/program_name/program_name.h"
#include "settings/schema.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t kDwordBytes = 4;
constexpr auto kDwordType = static_cast<std::uint32_t>(platform::ValueType::Dword);
constexpr auto kTextType = static_cast<std::uint32_t>(platform::ValueType::Text);

} // namespace

SettingsKey::SettingsKey() {
    std::strncpy(Path, schema::kKeyPath, kPathSize - 1);
    Handle = platform::createKey(Path);
}

SettingsKey::~SettingsKey() { close(); }

void SettingsKey::close() {
    platform::closeKey(Handle);
    Handle = nullptr;
}

std::uint32_t SettingsKey::readDword(const char* name, std::uint32_t defaultBits) {
    unsigned char bytes[kDwordBytes] = {};
    std::uint32_t size = 0;
    // A shorter value would leave bytes undefined, so it counts as missing.
    if (platform::queryValue(Handle, name, bytes, kDwordBytes, size) == platform::QueryResult::Ok &&
        size == kDwordBytes) {
        return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
               static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    }
    writeDword(name, defaultBits);
    return defaultBits;
}

std::int32_t SettingsKey::readInt(const char* name, std::int32_t defaultValue) {
    return static_cast<std::int32_t>(readDword(name, static_cast<std::uint32_t>(defaultValue)));
}

// A NaN or an infinity would spoil every position computed from it, and a
// value outside its span leaves the screen black or without balls, so
// either counts as a failed read.
float SettingsKey::readFloat(const char* name, float defaultValue, schema::FloatSpan span) {
    const float value = schema::bitsFloat(readDword(name, schema::floatBits(defaultValue)));
    if (span.holds(value))
        return value;
    if (std::isfinite(value))
        std::fprintf(stderr, "%s: the stored %s, %g, cannot be drawn (it must lie within %g to %g); using %g\n",
                     platform::programName(), name, static_cast<double>(value), static_cast<double>(span.Lowest),
                     static_cast<double>(span.Highest), static_cast<double>(defaultValue));
    else
        std::fprintf(stderr, "%s: the stored %s is not a finite number; using %g\n", platform::programName(), name,
                     static_cast<double>(defaultValue));
    writeFloat(name, defaultValue);
    return defaultValue;
}

const char* SettingsKey::readText(const char* name) {
    std::uint32_t size = 0;
    std::memset(Text, 0, kTextSize);
    const platform::QueryResult result = platform::queryValue(Handle, name, Text, kTextSize, size);
    if (result == platform::QueryResult::Ok) {
        // Whatever was stored, the caller gets a terminated text.
        Text[size < kTextSize ? size : kTextSize - 1] = '\0';
        return Text;
    }
    std::memset(Text, 0, kTextSize);
    // A text too long for the buffer is still the user's: it reads as empty
    // but is not overwritten.
    if (result != platform::QueryResult::TooLarge)
        platform::setValue(Handle, name, kTextType, Text, 1);
    return Text;
}

void SettingsKey::writeDword(const char* name, std::uint32_t bits) {
    const unsigned char bytes[kDwordBytes] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    platform::setValue(Handle, name, kDwordType, bytes, kDwordBytes);
}

void SettingsKey::writeInt(const char* name, std::int32_t value) {
    writeDword(name, static_cast<std::uint32_t>(value));
}

void SettingsKey::writeFloat(const char* name, float value) { writeDword(name, schema::floatBits(value)); }
