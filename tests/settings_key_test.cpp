#include "settings/choice_table.h"
#include "settings/schema.h"
#include "settings/settings_key.h"
#include "settings/show_settings.h"
#include "tests/support/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <vector>

#ifndef _WIN32
#include "tests/support/temp_config.h"

#include <cstdlib>
#include <filesystem>
#endif

using namespace std::string_literals;
using settings_store::dword;
using settings_store::text;
using settings_store::Value;

namespace {

constexpr std::uint32_t kBinaryType = 3; // REG_BINARY

// One suite for every store: the settings file on Linux, the registry on
// Windows. Each case starts from an empty store of its own.
struct Settings : ::testing::Test {
    settings_store::Scope store;

    static void put(const char* name, const Value& value) { settings_store::put(name, value); }
    static std::optional<Value> get(const char* name) { return settings_store::get(name); }

    static void expectDefaults(const ShowSettings& s) {
        EXPECT_EQ(s.PixelsUsed, 1024);
        EXPECT_EQ(s.PixelsSize, 2.0f);
        EXPECT_EQ(s.PixelsColor, 0);
        EXPECT_FALSE(s.UseLighting);
        EXPECT_EQ(s.CameraDistance, 140.0f);
        EXPECT_EQ(s.CameraSpeed, 0.0005f);
        EXPECT_TRUE(s.UseBackground);
    }
};

} // namespace

TEST_F(Settings, AnEmptyStoreGetsAllSevenDefaultsWithTheirExactBits) {
    expectDefaults(loadSettings());
    EXPECT_EQ(settings_store::names(),
              (std::vector<std::string>{"CameraDistance", "CameraSpeed", "PixelsColor", "PixelsSize", "PixelsUsed",
                                        "UseBackground", "UseLighting"}));
    EXPECT_EQ(get("PixelsUsed"), dword(0x400));
    EXPECT_EQ(get("PixelsSize"), dword(0x40000000));
    EXPECT_EQ(get("PixelsColor"), dword(0));
    EXPECT_EQ(get("UseLighting"), dword(0));
    EXPECT_EQ(get("CameraDistance"), dword(0x430C0000));
    EXPECT_EQ(get("CameraSpeed"), dword(0x3A03126F));
    EXPECT_EQ(get("UseBackground"), dword(1));
}

TEST_F(Settings, StoredValuesAreUsedAsTheyAreAndNotRewritten) {
    const std::vector<std::pair<const char*, std::uint32_t>> values = {
        {"PixelsUsed", 0x800},         {"PixelsSize", 0x40800000},  {"PixelsColor", 0xFFFFFFFD},
        {"UseLighting", 1},            {"CameraDistance", 0x42A00000}, {"CameraSpeed", 0x3983126F},
        {"UseBackground", 0}};
    for (const auto& [name, bits] : values)
        put(name, dword(bits));
    const ShowSettings s = loadSettings();
    EXPECT_EQ(s.PixelsUsed, 2048);
    EXPECT_EQ(s.PixelsSize, 4.0f);
    EXPECT_EQ(s.PixelsColor, -3);
    EXPECT_TRUE(s.UseLighting);
    EXPECT_EQ(s.CameraDistance, 80.0f);
    EXPECT_EQ(schema::floatBits(s.CameraSpeed), 0x3983126Fu);
    EXPECT_FALSE(s.UseBackground);
    for (const auto& [name, bits] : values)
        EXPECT_EQ(get(name), dword(bits)) << name;
    EXPECT_EQ(settings_store::names().size(), values.size());
}

TEST_F(Settings, PixelCountIsClampedInMemoryOnly) {
    const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
        {100, 256}, {5000, 4096}, {256, 256}, {4096, 4096}, {4095, 4095}, {257, 257}, {-1, 256},
        {INT32_MIN, 256}, {INT32_MAX, 4096}};
    for (const auto& [stored, used] : cases)
        EXPECT_EQ(clampPixelCount(stored), used) << stored;

    put("PixelsUsed", dword(5000));
    EXPECT_EQ(loadSettings().PixelsUsed, 5000);
    EXPECT_EQ(get("PixelsUsed"), dword(5000));
}

TEST_F(Settings, SwitchesAreOnOnlyAtExactlyOneAndOtherNumbersStay) {
    for (const std::uint32_t number : {0u, 2u, 0xFFFFFFFFu}) {
        put("UseLighting", dword(1));
        put("UseBackground", dword(number));
        const ShowSettings s = loadSettings();
        EXPECT_FALSE(s.UseBackground) << number;
        EXPECT_TRUE(s.UseLighting);
        EXPECT_EQ(get("UseBackground"), dword(number));
    }
}

TEST_F(Settings, AValueThatIsNotFourBytesIsReplacedByItsDefault) {
    put("PixelsUsed", text("lots"));
    put("PixelsSize", Value{kBinaryType, "\x01\x02"});
    put("PixelsColor", Value{kBinaryType, "\x01\x02\x03\x04\x05"});
    put("CameraSpeed", Value{kBinaryType, "\x6f\x12\x03\x3a"});
    const ShowSettings s = loadSettings();
    EXPECT_EQ(s.PixelsUsed, 1024);
    EXPECT_EQ(s.PixelsSize, 2.0f);
    EXPECT_EQ(s.PixelsColor, 0);
    EXPECT_EQ(s.CameraSpeed, 0.0005f) << "four bytes of another type are taken as they are";
    EXPECT_EQ(get("PixelsUsed"), dword(0x400));
    EXPECT_EQ(get("PixelsSize"), dword(0x40000000));
    EXPECT_EQ(get("PixelsColor"), dword(0));
    EXPECT_EQ(get("CameraSpeed"), (Value{kBinaryType, "\x6f\x12\x03\x3a"}));
}

// Beyond these the show drew a black screen, or the sky without its balls.
TEST_F(Settings, AFloatThatCannotBeDrawnIsReplacedByItsDefaultButEveryDrawableOneStays) {
    const std::vector<std::pair<const char*, std::uint32_t>> unusable = {
        {"PixelsSize", 0x7FC00000},     // NaN
        {"CameraDistance", 0x7F800000}, // +infinity
        {"CameraSpeed", 0xFF800000},    // -infinity
        {"PixelsSize", 0xC0000000},     // -2
        {"PixelsSize", 0x7F7FFFFF},     // the largest float
        {"CameraDistance", 0x60AD78EC}, // 1e20
        {"CameraDistance", 0xDF8AC723}, // -2e19
        {"CameraSpeed", 0x7F7FFFFF},
        {"CameraSpeed", 0xF149F2CA},    // -1e30
    };
    const std::map<std::string, std::uint32_t> defaults = {
        {"PixelsSize", 0x40000000}, {"CameraDistance", 0x430C0000}, {"CameraSpeed", 0x3A03126F}};
    for (const auto& [name, bits] : unusable) {
        put(name, dword(bits));
        testing::internal::CaptureStderr();
        expectDefaults(loadSettings());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(name), std::string::npos) << said;
        EXPECT_EQ(get(name), dword(defaults.at(name))) << name << " gets its default written back";
    }

    // A denormal, zeros, the bounds, and every value the options dialog stores.
    std::vector<std::pair<const char*, std::uint32_t>> kept = {
        {"PixelsSize", 1},          {"PixelsSize", 0x80000000},  {"PixelsSize", schema::floatBits(1e8f)},
        {"CameraDistance", 0},      {"CameraDistance", schema::floatBits(-1e18f)},
        {"CameraSpeed", 0x80000000}, {"CameraSpeed", schema::floatBits(1e27f)},
        {"CameraSpeed", schema::floatBits(-1e27f)}};
    for (const choices::ChoiceList& list : choices::kLists)
        for (std::size_t i = 0; list.Kind == choices::ValueKind::Float && i < list.Count; ++i)
            kept.emplace_back(list.ValueName, choices::storedBits(choices::choiceAt(list, i), list.Kind));
    for (const auto& [name, bits] : kept) {
        put(name, dword(bits));
        testing::internal::CaptureStderr();
        const ShowSettings s = loadSettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << name;
        const float used = name == "PixelsSize"s       ? s.PixelsSize
                           : name == "CameraDistance"s ? s.CameraDistance
                                                       : s.CameraSpeed;
        EXPECT_EQ(schema::floatBits(used), bits) << name;
        EXPECT_EQ(get(name), dword(bits)) << name;
    }
}

TEST_F(Settings, ReadTextCreatesAMissingValueEmpty) {
    SettingsKey key;
    EXPECT_STREQ(key.readText(schema::kInstallDir), "");
    key.close();
    EXPECT_EQ(get(schema::kInstallDir), text(""));
}

TEST_F(Settings, ReadTextGivesTheStoredTextAndLeavesATooLongOneAlone) {
    put(schema::kInstallDir, text("/opt/quorvel3d/"));
    {
        SettingsKey key;
        EXPECT_STREQ(key.readText(schema::kInstallDir), "/opt/quorvel3d/");
    }
    const std::string tooLong = "/" + std::string(SettingsKey::kTextSize, 'a') + "/";
    put(schema::kInstallDir, text(tooLong));
    SettingsKey key;
    EXPECT_STREQ(key.readText(schema::kInstallDir), "");
    key.close();
    EXPECT_EQ(get(schema::kInstallDir), text(tooLong));
}

#ifdef _WIN32

// The user's key is read first and is the only one written; the machine's
// key, where the installer records the install folder, fills in.
TEST_F(Settings, MachineValuesFillInWhatTheUsersKeyLacksAndStayThere) {
    settings_store::putMachine(schema::kInstallDir, text("C:\\Apps\\Quorvel 3D\\"));
    settings_store::putMachine("PixelsUsed", dword(2048));
    {
        SettingsKey key;
        EXPECT_STREQ(key.readText(schema::kInstallDir), "C:\\Apps\\Quorvel 3D\\");
    }
    EXPECT_EQ(loadSettings().PixelsUsed, 2048);
    EXPECT_EQ(get(schema::kInstallDir), std::nullopt);
    EXPECT_EQ(get("PixelsUsed"), std::nullopt);
    EXPECT_EQ(get("PixelsSize"), dword(0x40000000)) << "the defaults go to the user's key";
}

TEST_F(Settings, TheUsersValueWinsAndWritesNeverReachTheMachine) {
    settings_store::putMachine("PixelsUsed", dword(2048));
    put("PixelsUsed", dword(512));
    EXPECT_EQ(loadSettings().PixelsUsed, 512);
    {
        SettingsKey key;
        key.writeInt("PixelsUsed", 4096);
    }
    EXPECT_EQ(get("PixelsUsed"), dword(4096));
    EXPECT_EQ(settings_store::getMachine("PixelsUsed"), dword(2048));
}

// An empty text is what reading a missing folder leaves in the user's key;
// the installer may record the folder later.
TEST_F(Settings, AnEmptyUserTextDoesNotHideTheInstalledFolder) {
    {
        SettingsKey key;
        EXPECT_STREQ(key.readText(schema::kInstallDir), "");
    }
    settings_store::putMachine(schema::kInstallDir, text("D:\\Show\\"));
    SettingsKey key;
    EXPECT_STREQ(key.readText(schema::kInstallDir), "D:\\Show\\");
}

#else

namespace {

constexpr const char* kHeader = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\n";

// Cases that only a file can have: damage, folders in the way, long paths.
struct SettingsFile : ::testing::Test {
    TempConfig config;

    std::string file() const { return TempConfig::readAll(config.userFile()); }
    bool holds(const std::string& line) const { return file().find(line + "\n") != std::string::npos; }
    int keptCopies() const {
        int copies = 0;
        for (const auto& entry : std::filesystem::directory_iterator(config.userFile().parent_path()))
            copies += entry.path().filename().string().find(".damaged-") != std::string::npos;
        return copies;
    }
};

} // namespace

TEST_F(SettingsFile, ADamagedFileGivesDefaultsAndIsKeptAside) {
    const std::vector<std::string> damaged = {
        "\x01\x02garbage\xff",
        std::string(kHeader) + "\"PixelsUsed\"=dwo",
        "REGEDIT4\n\0\0\0binary"s,
        std::string(kHeader) + std::string(3 << 20, 'x'),
        std::string(kHeader) + "\"InstallDir\"=\"/opt/q\n",
    };
    for (const std::string& bytes : damaged) {
        std::filesystem::remove_all(config.userFile().parent_path());
        TempConfig::writeAll(config.userFile(), bytes);
        Settings::expectDefaults(loadSettings());
        ASSERT_EQ(keptCopies(), 1) << bytes.substr(0, 40);
        for (const auto& entry : std::filesystem::directory_iterator(config.userFile().parent_path())) {
            if (entry.path() != config.userFile()) {
                EXPECT_EQ(TempConfig::readAll(entry.path()), bytes);
            }
        }
        EXPECT_TRUE(holds("\"UseBackground\"=dword:00000001"));
    }
}

TEST_F(SettingsFile, AnUnreadableFileUnwritableFolderOrOverlongPathGivesDefaultsAndLosesNothing) {
    std::filesystem::create_directories(config.userFile()); // cannot be read as a file
    Settings::expectDefaults(loadSettings());
    EXPECT_TRUE(std::filesystem::is_directory(config.userFile()));

    TempConfig::writeAll(config.root() / "not-a-folder", "mine");
    setenv("XDG_CONFIG_HOME", (config.root() / "not-a-folder").c_str(), 1);
    Settings::expectDefaults(loadSettings());
    EXPECT_EQ(TempConfig::readAll(config.root() / "not-a-folder"), "mine");

    const std::string overlong = (config.root() / std::string(5000, 'a')).string();
    setenv("XDG_CONFIG_HOME", overlong.c_str(), 1);
    Settings::expectDefaults(loadSettings());
}

#endif
