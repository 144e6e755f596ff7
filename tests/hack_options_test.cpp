#include "show/hack_options.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Args = std::vector<std::string_view>;

HackOptions parsed(const Args& args, std::optional<std::string_view> host = std::nullopt) {
    auto result = parseHackOptions(args, host);
    if (const auto* failure = std::get_if<HackOptionsError>(&result))
        ADD_FAILURE() << failure->Message;
    return std::get_if<HackOptions>(&result) ? std::get<HackOptions>(result) : HackOptions{};
}

std::string refusal(const Args& args, std::optional<std::string_view> host = std::nullopt) {
    auto result = parseHackOptions(args, host);
    const auto* failure = std::get_if<HackOptionsError>(&result);
    EXPECT_NE(failure, nullptr) << "accepted: " << (args.empty() ? "" : args.back());
    return failure ? failure->Message : std::string();
}

TEST(HackOptions, NoOptionKeepsTheStoredSettingsAndItsOwnWindow) {
    const HackOptions options = parsed({});
    EXPECT_EQ(options.Place.Where, ShowPlace::Kind::OwnWindow);
    const SettingsOverrides& o = options.Choices.Overrides;
    EXPECT_FALSE(o.PixelsUsed || o.PixelsSize || o.PixelsColor || o.UseLighting || o.CameraDistance ||
                 o.CameraSpeed || o.UseBackground);
    EXPECT_FALSE(options.Choices.ShowFrameRate);
    EXPECT_FALSE(options.HelpWanted);
}

TEST(HackOptions, EveryListTakesTheDialogsLabelsAndNumbers) {
    const SettingsOverrides o = parsed({"--count", "Very Low", "--size=huge", "--color", "purple", "-distance",
                                        "far", "--speed", "very-slow"})
                                    .Choices.Overrides;
    EXPECT_EQ(o.PixelsUsed, 256);
    EXPECT_EQ(o.PixelsSize, 8.0f);
    EXPECT_EQ(o.PixelsColor, 5);
    EXPECT_EQ(o.CameraDistance, 220.0f);
    EXPECT_EQ(o.CameraSpeed, 0.0001f);

    const SettingsOverrides n =
        parsed({"--count", "4096", "--size", "1", "--color", "0", "--distance", "80.0", "--speed", "0.00025"})
            .Choices.Overrides;
    EXPECT_EQ(n.PixelsUsed, 4096);
    EXPECT_EQ(n.PixelsSize, 1.0f);
    EXPECT_EQ(n.PixelsColor, 0);
    EXPECT_EQ(n.CameraDistance, 80.0f);
    EXPECT_EQ(n.CameraSpeed, 0.00025f);
}

TEST(HackOptions, SwitchesAndTheFrameRate) {
    const HackOptions on = parsed({"--sky", "--lighting", "--fps"});
    EXPECT_EQ(on.Choices.Overrides.UseBackground, true);
    EXPECT_EQ(on.Choices.Overrides.UseLighting, true);
    EXPECT_TRUE(on.Choices.ShowFrameRate);
    const HackOptions off = parsed({"-no-sky", "--no-lighting"});
    EXPECT_EQ(off.Choices.Overrides.UseBackground, false);
    EXPECT_EQ(off.Choices.Overrides.UseLighting, false);
}

TEST(HackOptions, TheLastOfRepeatedOptionsWins) {
    const HackOptions options =
        parsed({"--count", "256", "--count", "2048", "--sky", "--no-sky", "--window-id", "0x2", "--root"});
    EXPECT_EQ(options.Choices.Overrides.PixelsUsed, 2048);
    EXPECT_EQ(options.Choices.Overrides.UseBackground, false);
    EXPECT_EQ(options.Place.Where, ShowPlace::Kind::RootWindow);
}

TEST(HackOptions, SettingsGoWithEveryPlace) {
    const HackOptions root = parsed({"--fps", "--root", "--count", "512"}, "0x400007");
    EXPECT_EQ(root.Place.Where, ShowPlace::Kind::HostWindow);
    EXPECT_EQ(root.Place.HostWindow, 0x400007u);
    EXPECT_EQ(root.Choices.Overrides.PixelsUsed, 512);
    EXPECT_TRUE(root.Choices.ShowFrameRate);

    const HackOptions bareRoot = parsed({"-root", "--size", "large"});
    EXPECT_EQ(bareRoot.Place.Where, ShowPlace::Kind::RootWindow);
    EXPECT_EQ(bareRoot.Choices.Overrides.PixelsSize, 4.0f);

    const HackOptions preview = parsed({"--size", "small", "--window-id", "12345", "--no-sky"});
    EXPECT_EQ(preview.Place.Where, ShowPlace::Kind::HostWindow);
    EXPECT_EQ(preview.Place.HostWindow, 12345u);
    EXPECT_EQ(preview.Choices.Overrides.PixelsSize, 1.0f);
    EXPECT_EQ(preview.Choices.Overrides.UseBackground, false);
}

TEST(HackOptions, ValuesOutsideTheChoicesAreRefusedWithTheChoices) {
    EXPECT_EQ(refusal({"--count", "300"}),
              "--count wants one of Very Low (256), Low (512), Medium (1024), High (2048), Very High (4096), "
              "not '300'");
    for (const char* bad : {"2.5", "2.0x", "", " 2", "nan", "1e0", "Normal "})
        EXPECT_NE(refusal({"--size", bad}).find("--size wants one of"), std::string::npos) << bad;
    EXPECT_NE(refusal({"--color", "7"}).find("Green (6)"), std::string::npos);
    EXPECT_NE(refusal({"--count", "1024.0"}).find("not '1024.0'"), std::string::npos);
    EXPECT_NE(refusal({"--count", "99999999999"}).find("--count wants"), std::string::npos);
    EXPECT_NE(refusal({"--speed", "normal-ish"}).find("--speed wants"), std::string::npos);
}

TEST(HackOptions, MalformedCommandLinesAreRefused) {
    EXPECT_EQ(refusal({"--counts", "256"}), "unknown option '--counts'");
    EXPECT_EQ(refusal({"256"}), "unknown option '256'");
    EXPECT_EQ(refusal({"-"}), "unknown option '-'");
    EXPECT_EQ(refusal({"--count"}), "--count wants a value");
    EXPECT_EQ(refusal({"--fps=1"}), "--fps takes no value");
    EXPECT_EQ(refusal({"--no-sky=yes"}), "--no-sky takes no value");
    for (const char* id : {"0x0", "0xnothing", "12abc", "", "0x20000000", "-5", "0x"})
        EXPECT_NE(refusal({"--window-id", id}).find("window id"), std::string::npos) << id;
    EXPECT_EQ(refusal({"--root"}, "junk"), "XSCREENSAVER_WINDOW='junk' is not a window id");
}

// The idle runner starts one show on each monitor.
TEST(HackOptions, AMonitorIsForAWindowOfItsOwn) {
    EXPECT_EQ(parsed({"--monitor", "1"}).Place.Monitor, 1);
    EXPECT_EQ(parsed({"--monitor=0", "--count", "256"}).Place.Where, ShowPlace::Kind::OwnWindow);
    EXPECT_FALSE(parsed({}).Place.Monitor);
    for (const char* number : {"-1", "64", "one", "", "1x"})
        EXPECT_NE(refusal({"--monitor", number}).find("--monitor wants"), std::string::npos) << number;
    EXPECT_NE(refusal({"--monitor", "1", "--root"}).find("not for --root"), std::string::npos);
    EXPECT_NE(refusal({"--window-id", "0x400001", "--monitor", "0"}).find("not for --root"), std::string::npos);
}

TEST(HackOptions, HelpAsksForNothingElse) {
    EXPECT_TRUE(parsed({"--count", "256", "--help", "--bogus"}).HelpWanted);
    EXPECT_TRUE(parsed({"-h"}).HelpWanted);
    const std::string usage = hackUsage("quorvel3d");
    for (const char* option : {"--root", "--window-id", "--monitor", "--count", "--size", "--color", "--distance", "--speed",
                               "--no-sky", "--no-lighting", "--fps", "Very Fast (0.002)", "Purple (5)"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

} // namespace
