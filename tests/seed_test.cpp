#include "show/seed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

TEST(SeedTest, TakesAnyUnsigned32BitDecimalNumber) {
    EXPECT_EQ(parseSeed("0"), 0u);
    EXPECT_EQ(parseSeed("20261208"), 20261208u);
    EXPECT_EQ(parseSeed("4294967295"), 4294967295u);
}

TEST(SeedTest, RefusesAnythingElse) {
    for (const char* text : {"", " 1", "1 ", "-1", "+1", "4294967296", "99999999999999999999", "0x10", "12abc", "1.5"})
        EXPECT_EQ(parseSeed(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(parseSeed(nullptr), std::nullopt);
}

TEST(SeedTest, AValidVariableReplacesTheClock) {
    setenv(kSeedVariable, "77", 1);
    EXPECT_EQ(chooseSeed(), 77u);
    setenv(kSeedVariable, "seventy-seven", 1);
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const std::uint32_t seed = chooseSeed();
    EXPECT_GE(seed, before) << "falls back to the calendar time";
    EXPECT_LE(seed, static_cast<std::uint32_t>(std::time(nullptr)));
    unsetenv(kSeedVariable);
}
