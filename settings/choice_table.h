#pragma once

// The choices the options dialog offers for its five lists and two check
// boxes; the screen saver's command line offers the same ones. The value text
// of an entry is the only source of the number that is stored for it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace choices {

inline constexpr std::size_t kChoiceTextSize = 512; // bytes, with the terminating zero

struct SettingChoice {
    char Label[kChoiceTextSize];
    char Value[kChoiceTextSize];
};

inline constexpr std::size_t kChoiceCount = 24;
extern const std::array<SettingChoice, kChoiceCount> kChoices;

// Integer lists store atoi of the value text; float lists store the bits of
// the decimal value of the text (with a point in every locale) narrowed to
// single precision.
enum class ValueKind { Integer, Float };

// One list and its contiguous slice of kChoices; the position in the list
// is the position in the slice.
struct ChoiceList {
    const char* ValueName;
    ValueKind Kind;
    std::size_t First;
    std::size_t Count;
    std::uint32_t DefaultBits;
};

struct CheckSetting {
    const char* ValueName;
    std::uint32_t DefaultBits;
};

// In the order in which they are loaded and saved.
enum class ListSetting : std::size_t { Count, Size, Color, Distance, Speed };
enum class CheckSettingId : std::size_t { Background, Lighting };
inline constexpr std::size_t kListCount = 5;
inline constexpr std::size_t kCheckCount = 2;
extern const std::array<ChoiceList, kListCount> kLists;
extern const std::array<CheckSetting, kCheckCount> kChecks;

const ChoiceList& list(ListSetting setting);
const CheckSetting& check(CheckSettingId setting);

const SettingChoice& choiceAt(const ChoiceList& list, std::size_t position);

// The four bytes stored for an entry.
std::uint32_t storedBits(const SettingChoice& choice, ValueKind kind);

// The position of the last entry whose stored bits the stored value equals,
// integers by value and floats by single-precision comparison (so a NaN
// matches nothing).
std::optional<std::size_t> matchingPosition(const ChoiceList& list, std::uint32_t stored);

// The position of the entry that stores the list's default.
std::size_t defaultPosition(const ChoiceList& list);

// A check box is on only when the stored number is exactly 1.
bool isSwitchedOn(std::uint32_t stored);

} // namespace choices
