#include "settings/choice_table.h"

#include "settings/schema.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace choices {

namespace {

constexpr std::size_t kCountFirst = 0;
constexpr std::size_t kSizeFirst = 5;
constexpr std::size_t kColorFirst = 9;
constexpr std::size_t kDistanceFirst = 16;
constexpr std::size_t kSpeedFirst = 19;

std::uint32_t integerBits(std::int32_t value) { return static_cast<std::uint32_t>(value); }

// atof with '.' as the decimal point whatever the C library's locale says
// (the application object sets that locale from the environment): leading
// blanks and a plus sign are skipped, and text that is no number gives 0.
double decimalValue(const char* text) {
    constexpr const char* kBlanks = " \t\n\v\f\r";
    text += std::strspn(text, kBlanks);
    if (*text == '+')
        ++text;
    double value = 0.0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

} // namespace

const std::array<SettingChoice, kChoiceCount> kChoices = {{
    {"Very Low", "256"},
    {"Low", "512"},
    {"Medium", "1024"},
    {"High", "2048"},
    {"Very High", "4096"},
    {"Small", "1.0"},
    {"Normal", "2.0"},
    {"Large", "4.0"},
    {"Huge", "8.0"},
    {"Random", "0"},
    {"Yellow", "1"},
    {"Red", "2"},
    {"Blue", "3"},
    {"Cyan", "4"},
    {"Purple", "5"},
    {"Green", "6"},
    {"Close", "80.0"},
    {"Normal", "140.0"},
    {"Far", "220.0"},
    {"Very Slow", "0.0001"},
    {"Slow", "0.00025"},
    {"Normal", "0.0005"},
    {"Fast", "0.001"},
    {"Very Fast", "0.002"},
}};

const std::array<ChoiceList, kListCount> kLists = {{
    {schema::kPixelsUsed, ValueKind::Integer, kCountFirst, kSizeFirst - kCountFirst,
     integerBits(schema::kDefaultPixelsUsed)},
    {schema::kPixelsSize, ValueKind::Float, kSizeFirst, kColorFirst - kSizeFirst,
     schema::floatBits(schema::kDefaultPixelsSize)},
    {schema::kPixelsColor, ValueKind::Integer, kColorFirst, kDistanceFirst - kColorFirst,
     integerBits(schema::kDefaultPixelsColor)},
    {schema::kCameraDistance, ValueKind::Float, kDistanceFirst, kSpeedFirst - kDistanceFirst,
     schema::floatBits(schema::kDefaultCameraDistance)},
    {schema::kCameraSpeed, ValueKind::Float, kSpeedFirst, kChoiceCount - kSpeedFirst,
     schema::floatBits(schema::kDefaultCameraSpeed)},
}};

const std::array<CheckSetting, kCheckCount> kChecks = {{
    {schema::kUseBackground, integerBits(schema::kDefaultUseBackground)},
    {schema::kUseLighting, integerBits(schema::kDefaultUseLighting)},
}};

const ChoiceList& list(ListSetting setting) { return kLists[static_cast<std::size_t>(setting)]; }

const CheckSetting& check(CheckSettingId setting) { return kChecks[static_cast<std::size_t>(setting)]; }

const SettingChoice& choiceAt(const ChoiceList& list, std::size_t position) {
    return kChoices[list.First + position];
}

std::uint32_t storedBits(const SettingChoice& choice, ValueKind kind) {
    if (kind == ValueKind::Integer)
        return integerBits(std::atoi(choice.Value));
    return schema::floatBits(static_cast<float>(decimalValue(choice.Value)));
}

std::optional<std::size_t> matchingPosition(const ChoiceList& list, std::uint32_t stored) {
    std::optional<std::size_t> match;
    for (std::size_t position = 0; position < list.Count; ++position) {
        const std::uint32_t entry = storedBits(choiceAt(list, position), list.Kind);
        const bool equal = list.Kind == ValueKind::Integer
                               ? stored == entry
                               : schema::bitsFloat(stored) == schema::bitsFloat(entry);
        if (equal)
            match = position;
    }
    return match;
}

std::size_t defaultPosition(const ChoiceList& list) {
    // Every default is one of its list's entries.
    return matchingPosition(list, list.DefaultBits).value_or(0);
}

bool isSwitchedOn(std::uint32_t stored) {
    return static_cast<std::int32_t>(stored) == schema::kSwitchedOn;
}

} // namespace choices
