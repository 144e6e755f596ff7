#include "settings/choice_table.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

using namespace choices;

namespace {

struct Entry {
    const char* Label;
    std::uint32_t Stored;
};

// The number each entry stores, as the dialog must store it.
const std::vector<std::vector<Entry>> kExpected = {
    {{"Very Low", 256}, {"Low", 512}, {"Medium", 1024}, {"High", 2048}, {"Very High", 4096}},
    {{"Small", 0x3F800000}, {"Normal", 0x40000000}, {"Large", 0x40800000}, {"Huge", 0x41000000}},
    {{"Random", 0}, {"Yellow", 1}, {"Red", 2}, {"Blue", 3}, {"Cyan", 4}, {"Purple", 5}, {"Green", 6}},
    {{"Close", 0x42A00000}, {"Normal", 0x430C0000}, {"Far", 0x435C0000}},
    {{"Very Slow", 0x38D1B717}, {"Slow", 0x3983126F}, {"Normal", 0x3A03126F}, {"Fast", 0x3A83126F},
     {"Very Fast", 0x3B03126F}},
};

void expectEveryEntryStoresItsNumberAndSelectsItself() {
    ASSERT_EQ(kLists.size(), kExpected.size());
    std::size_t next = 0;
    for (std::size_t l = 0; l < kLists.size(); ++l) {
        const ChoiceList& list = kLists[l];
        EXPECT_EQ(list.First, next) << "lists are contiguous slices in table order";
        ASSERT_EQ(list.Count, kExpected[l].size());
        for (std::size_t p = 0; p < list.Count; ++p) {
            const Entry& entry = kExpected[l][p];
            EXPECT_STREQ(choiceAt(list, p).Label, entry.Label);
            EXPECT_EQ(storedBits(choiceAt(list, p), list.Kind), entry.Stored) << entry.Label;
            EXPECT_EQ(matchingPosition(list, entry.Stored), p) << entry.Label;
        }
        next += list.Count;
    }
    EXPECT_EQ(next, kChoiceCount);
}

TEST(ChoiceTable, EveryEntryStoresItsNumberAndSelectsItself) {
    expectEveryEntryStoresItsNumberAndSelectsItself();
}

// The launcher's application object sets the C library's locale from the
// environment; the stored bits must not depend on it. The test_locales test
// generates the locale where the system lacks it.
TEST(ChoiceTable, CommaDecimalLocaleStoresTheSameBits) {
    constexpr const char* kCommaLocale = "de_DE.UTF-8";
    if (!std::setlocale(LC_ALL, kCommaLocale))
        GTEST_SKIP() << kCommaLocale << " is missing and test_locales could not generate it";
    expectEveryEntryStoresItsNumberAndSelectsItself();
    std::setlocale(LC_ALL, "C");
}

TEST(ChoiceTable, DefaultsAreEntriesOfTheirLists) {
    const char* labels[] = {"Medium", "Normal", "Random", "Normal", "Normal"};
    for (std::size_t l = 0; l < kLists.size(); ++l)
        EXPECT_STREQ(choiceAt(kLists[l], defaultPosition(kLists[l])).Label, labels[l]);
    EXPECT_EQ(kChecks[0].DefaultBits, 1u);
    EXPECT_EQ(kChecks[1].DefaultBits, 0u);
}

TEST(ChoiceTable, FloatsMatchByValueAndNaNMatchesNothing) {
    const ChoiceList& size = kLists[1];
    EXPECT_EQ(matchingPosition(size, 0x40400000), std::nullopt); // 3.0
    EXPECT_EQ(matchingPosition(size, 0x7FC00000), std::nullopt); // NaN
    EXPECT_EQ(matchingPosition(size, 0x40000001), std::nullopt); // next float after 2.0
    // An integer list compares the whole 32 bits.
    EXPECT_EQ(matchingPosition(kLists[0], 0x00010100), std::nullopt);
}

TEST(ChoiceTable, LastOfSeveralMatchesWins) {
    // Read as integers, "1.0" and "1" both give 1.
    const ChoiceList mixed{"Mixed", ValueKind::Integer, kLists[1].First, 7, 0};
    EXPECT_EQ(matchingPosition(mixed, 1), 5u);
}

TEST(ChoiceTable, CheckBoxIsOnOnlyAtExactlyOne) {
    EXPECT_TRUE(isSwitchedOn(1));
    EXPECT_FALSE(isSwitchedOn(0));
    EXPECT_FALSE(isSwitchedOn(2));
    EXPECT_FALSE(isSwitchedOn(0xFFFFFFFF));
    EXPECT_FALSE(isSwitchedOn(0x00000101));
}

} // namespace
