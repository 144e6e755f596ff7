#include "settings/schema.h"
#include "settings/settings_key.h"
#include "settings/show_settings.h"
#include "tests/support/temp_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

constexpr const char* kHeader = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\n";

struct Settings : ::testing::Test {
    TempConfig config;

    void store(const std::string& values) { TempConfig::writeAll(config.userFile(), kHeader + values); }
    std::string file() const { return TempConfig::readAll(config.userFile()); }
    bool holds(const std::string& line) const { return file().find(line + "\n") != std::string::npos; }
    int keptCopies() const {
        int copies = 0;
        for (const auto& entry : fs::directory_iterator(config.userFile().parent_path()))
            copies += entry.path().filename().string().find(".damaged-") != std::string::npos;
        return copies;
    }
    void expectDefaults(const ShowSettings& s) {
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
    EXPECT_EQ(file(), std::string(kHeader) + "\"PixelsUsed\"=dword:00000400\n"
                                             "\"PixelsSize\"=dword:40000000\n"
                                             "\"PixelsColor\"=dword:00000000\n"
                                             "\"UseLighting\"=dword:00000000\n"
                                             "\"CameraDistance\"=dword:430c0000\n"
                                             "\"CameraSpeed\"=dword:3a03126f\n"
                                             "\"UseBackground\"=dword:00000001\n");
}

TEST_F(Settings, StoredValuesAreUsedAsTheyAreAndNotRewritten) {
    const std::string values = "\"PixelsUsed\"=dword:00000800\n\"PixelsSize\"=dword:40800000\n"
                               "\"PixelsColor\"=dword:fffffffd\n\"UseLighting\"=dword:00000001\n"
                               "\"CameraDistance\"=dword:42a00000\n\"CameraSpeed\"=dword:3983126f\n"
                               "\"UseBackground\"=dword:00000000\n";
    store(values);
    const ShowSettings s = loadSettings();
    EXPECT_EQ(s.PixelsUsed, 2048);
    EXPECT_EQ(s.PixelsSize, 4.0f);
    EXPECT_EQ(s.PixelsColor, -3);
    EXPECT_TRUE(s.UseLighting);
    EXPECT_EQ(s.CameraDistance, 80.0f);
    EXPECT_EQ(schema::floatBits(s.CameraSpeed), 0x3983126Fu);
    EXPECT_FALSE(s.UseBackground);
    EXPECT_EQ(file(), kHeader + values);
}

TEST_F(Settings, PixelCountIsClampedInMemoryOnly) {
    const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
        {100, 256}, {5000, 4096}, {256, 256}, {4096, 4096}, {4095, 4095}, {257, 257}, {-1, 256},
        {INT32_MIN, 256}, {INT32_MAX, 4096}};
    for (const auto& [stored, used] : cases)
        EXPECT_EQ(clampPixelCount(stored), used) << stored;

    store("\"PixelsUsed\"=dword:00001388\n"); // 5000
    EXPECT_EQ(loadSettings().PixelsUsed, 5000);
    EXPECT_TRUE(holds("\"PixelsUsed\"=dword:00001388"));
}

TEST_F(Settings, SwitchesAreOnOnlyAtExactlyOneAndOtherNumbersStay) {
    for (const char* number : {"00000000", "00000002", "ffffffff"}) {
        store(std::string("\"UseLighting\"=dword:00000001\n\"UseBackground\"=dword:") + number + "\n");
        const ShowSettings s = loadSettings();
        EXPECT_FALSE(s.UseBackground) << number;
        EXPECT_TRUE(s.UseLighting);
        EXPECT_TRUE(holds(std::string("\"UseBackground\"=dword:") + number));
    }
}

TEST_F(Settings, AValueThatIsNotFourBytesIsReplacedByItsDefault) {
    store("\"PixelsUsed\"=\"lots\"\n\"PixelsSize\"=hex:01,02\n\"PixelsColor\"=hex:01,02,03,04,05\n"
          "\"CameraSpeed\"=hex(3):6f,12,03,3a\n");
    const ShowSettings s = loadSettings();
    EXPECT_EQ(s.PixelsUsed, 1024);
    EXPECT_EQ(s.PixelsSize, 2.0f);
    EXPECT_EQ(s.PixelsColor, 0);
    EXPECT_EQ(s.CameraSpeed, 0.0005f) << "four bytes of another type are taken as they are";
    EXPECT_TRUE(holds("\"PixelsUsed\"=dword:00000400"));
    EXPECT_TRUE(holds("\"PixelsSize\"=dword:40000000"));
    EXPECT_TRUE(holds("\"PixelsColor\"=dword:00000000"));
    EXPECT_TRUE(holds("\"CameraSpeed\"=hex:6f,12,03,3a"));
}

TEST_F(Settings, ADamagedFileGivesDefaultsAndIsKeptAside) {
    const std::vector<std::string> damaged = {
        "\x01\x02garbage\xff",
        std::string(kHeader) + "\"PixelsUsed\"=dwo",
        "REGEDIT4\n\0\0\0binary"s,
        std::string(kHeader) + std::string(3 << 20, 'x'),
        std::string(kHeader) + "\"InstallDir\"=\"/opt/q\n",
        std::string(kHeader) + "\"PixelsUsed\"=dword:00000100\n\"PixelsUsed\"=dword:00000200\n",
    };
    for (const std::string& bytes : damaged) {
        fs::remove_all(config.userFile().parent_path());
        TempConfig::writeAll(config.userFile(), bytes);
        expectDefaults(loadSettings());
        ASSERT_EQ(keptCopies(), 1) << bytes.substr(0, 40);
        for (const auto& entry : fs::directory_iterator(config.userFile().parent_path())) {
            if (entry.path() != config.userFile()) {
                EXPECT_EQ(TempConfig::readAll(entry.path()), bytes);
            }
        }
        EXPECT_TRUE(holds("\"UseBackground\"=dword:00000001"));
    }
}

TEST_F(Settings, AnUnreadableFileUnwritableFolderOrOverlongPathGivesDefaultsAndLosesNothing) {
    fs::create_directories(config.userFile()); // cannot be read as a file
    expectDefaults(loadSettings());
    EXPECT_TRUE(fs::is_directory(config.userFile()));

    TempConfig::writeAll(config.root() / "not-a-folder", "mine");
    setenv("XDG_CONFIG_HOME", (config.root() / "not-a-folder").c_str(), 1);
    expectDefaults(loadSettings());
    EXPECT_EQ(TempConfig::readAll(config.root() / "not-a-folder"), "mine");

    const std::string overlong = (config.root() / std::string(5000, 'a')).string();
    setenv("XDG_CONFIG_HOME", overlong.c_str(), 1);
    expectDefaults(loadSettings());
}

TEST_F(Settings, ReadTextCreatesAMissingValueEmpty) {
    SettingsKey key;
    EXPECT_STREQ(key.readText(schema::kInstallDir), "");
    key.close();
    EXPECT_TRUE(holds("\"InstallDir\"=\"\""));
}

TEST_F(Settings, ReadTextGivesTheStoredTextAndLeavesATooLongOneAlone) {
    store("\"InstallDir\"=\"/opt/quorvel3d/\"\n");
    {
        SettingsKey key;
        EXPECT_STREQ(key.readText(schema::kInstallDir), "/opt/quorvel3d/");
    }
    const std::string tooLong = "/" + std::string(SettingsKey::kTextSize, 'a') + "/";
    store("\"InstallDir\"=\"" + tooLong + "\"\n");
    SettingsKey key;
    EXPECT_STREQ(key.readText(schema::kInstallDir), "");
    key.close();
    EXPECT_TRUE(holds("\"InstallDir\"=\"" + tooLong + "\""));
}
