#include "tools/trace/trace_options.h"

#include <gtest/gtest.h>

namespace {

std::optional<TraceOptions> parse(std::vector<std::string> args) {
    std::string error;
    auto options = parseTraceOptions(args, error);
    EXPECT_EQ(options.has_value(), error.empty()) << error;
    return options;
}

} // namespace

TEST(TraceOptions, DefaultsWatchTheFirstAndLastPixelOfTheClampedSwarm) {
    const auto options = parse({"--seed", "4294967295"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Seed, 4294967295u);
    EXPECT_EQ(options->Pixels, 1024);
    EXPECT_EQ(options->Color, 0);
    EXPECT_EQ(options->Frames, 1000);
    EXPECT_EQ(options->Watch, (std::vector<std::int32_t>{0, 1023}));

    const auto small = parse({"--pixels", "10", "--seed", "1"});
    ASSERT_TRUE(small);
    EXPECT_EQ(small->Pixels, 256);
    EXPECT_EQ(small->Watch, (std::vector<std::int32_t>{0, 255}));
}

TEST(TraceOptions, TakesEveryOption) {
    const auto options = parse({"--seed", "7", "--pixels", "5000", "--color", "-3", "--frames", "0", "--watch",
                                "4095,0,17"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Pixels, 4096);
    EXPECT_EQ(options->Color, -3);
    EXPECT_EQ(options->Frames, 0);
    EXPECT_EQ(options->Watch, (std::vector<std::int32_t>{4095, 0, 17}));
}

TEST(TraceOptions, RefusesBadNumbersAndPixelsOutsideTheSwarm) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {},
             {"--seed"},
             {"--seed", "-1"},
             {"--seed", "4294967296"},
             {"--seed", "12x"},
             {"--seed", "1", "--frames", "-5"},
             {"--seed", "1", "--pixels", "lots"},
             {"--seed", "1", "--watch", "1024"},
             {"--seed", "1", "--watch", "-1"},
             {"--seed", "1", "--watch", "1,,2"},
             {"--seed", "1", "--watch", ""},
             {"--seed", "1", "--colour", "2"},
         }) {
        std::string error;
        EXPECT_FALSE(parseTraceOptions(bad, error));
        EXPECT_FALSE(error.empty());
    }
}
