#include "platform/settings_store/regedit4.h"
#include "platform/settings_store/registry.h"
#include "tests/support/temp_config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

constexpr const char* kKey = "SOFTWARE\\Test\\Key";
constexpr const char* kSection = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test\\Key]";
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kText = 1;

std::optional<regedit4::Document> parseText(const std::string& text) {
    std::string error;
    return regedit4::parse(text, error);
}

std::string reformat(const std::string& text) {
    auto document = parseText(text);
    return document ? regedit4::format(*document) : "<rejected>";
}

struct Store : ::testing::Test {
    TempConfig config;
    platform::KeyHandle key = platform::createKey(kKey);
    ~Store() override { platform::closeKey(key); }

    bool setDword(const char* name, std::uint32_t value) {
        const std::array<unsigned char, 4> bytes = {static_cast<unsigned char>(value),
                                                    static_cast<unsigned char>(value >> 8),
                                                    static_cast<unsigned char>(value >> 16),
                                                    static_cast<unsigned char>(value >> 24)};
        return platform::setValue(key, name, kDword, bytes.data(), 4);
    }
    bool setText(const char* name, const std::string& text) {
        return platform::setValue(key, name, kText, text.c_str(), static_cast<std::uint32_t>(text.size() + 1));
    }
    std::string text(const char* name) {
        char buffer[256] = {};
        std::uint32_t size = 0;
        if (platform::queryValue(key, name, buffer, sizeof buffer - 1, size) != platform::QueryResult::Ok)
            return "<none>";
        return buffer;
    }
    std::vector<fs::path> keptCopies() const {
        std::vector<fs::path> copies;
        for (const auto& entry : fs::directory_iterator(config.userFile().parent_path()))
            if (entry.path().filename().string().find(".damaged-") != std::string::npos)
                copies.push_back(entry.path());
        return copies;
    }
};

} // namespace

TEST(Regedit4Format, WritesEachTypeSoAPersonCanReadIt) {
    regedit4::Document document;
    regedit4::Section& section = document.section("HKEY_LOCAL_MACHINE\\SOFTWARE\\Test\\Key");
    section.set("Count", 4, {0x0a, 0, 0, 0});
    section.set("Dir", 1, {'C', ':', '\\', '"', 'x', '"', 0});
    section.set("Blob", 3, {0xde, 0xad});
    section.set("Multi", 7, {'a', 0, 0});
    section.set("", 1, {'d', 0});
    EXPECT_EQ(regedit4::format(document), "REGEDIT4\n\n"
                                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test\\Key]\n"
                                          "\"Count\"=dword:0000000a\n"
                                          "\"Dir\"=\"C:\\\\\\\"x\\\"\"\n"
                                          "\"Blob\"=hex:de,ad\n"
                                          "\"Multi\"=hex(7):61,00,00\n"
                                          "@=\"d\"\n");
}

TEST(Regedit4Format, ReadsBackWhatItWrites) {
    const std::string text = "REGEDIT4\n\n[A\\B]\n\"N\"=dword:ffffffff\n\"T\"=\"x\\\\y\\\"z\"\n"
                             "\"B\"=hex:01,02\n\"E\"=hex(2):41,00\n\"Odd\"=hex(4):01,02\n\"Line\"=hex(1):61,0a,00\n";
    EXPECT_EQ(reformat(text), text);
}

TEST(Regedit4Format, AcceptsWhatEditorsAndOtherToolsWrite) {
    EXPECT_EQ(reformat("\xEF\xBB\xBFREGEDIT4\r\n\r\n; a comment\r\n[K]\r\n\"N\" = dword:A\r\n"
                       "\"H\"=hex:01,\\\r\n  02,03\r\n"),
              "REGEDIT4\n\n; a comment\n[K]\n\"N\"=dword:0000000a\n\"H\"=hex:01,02,03\n");
    EXPECT_EQ(reformat(""), "REGEDIT4\n");
    EXPECT_EQ(reformat("\n\n"), "REGEDIT4\n");
}

namespace {

std::string utf16LittleEndian(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

} // namespace

// Each of these was once refused as damaged, and every setting reset.
TEST(Regedit4Format, ReadsARepeatedKeyCrLineEndsAndWhatTheSystemsRegistryEditorExports) {
    EXPECT_EQ(reformat("REGEDIT4\n[K]\n\"A\"=dword:1\n\"B\"=dword:2\n[L]\n\"C\"=dword:3\n"
                       "[k]\n\"b\"=dword:4\n\"D\"=dword:5\n"),
              "REGEDIT4\n\n[K]\n\"A\"=dword:00000001\n\"B\"=dword:00000004\n\"D\"=dword:00000005\n\n"
              "[L]\n\"C\"=dword:00000003\n");
    EXPECT_EQ(reformat("REGEDIT4\n[K]\n\"N\"=dword:1\n\"n\"=dword:2\n"), "REGEDIT4\n\n[K]\n\"N\"=dword:00000002\n");
    EXPECT_EQ(reformat("REGEDIT4\r\r[K]\r\"H\"=hex:01,\\\r  02\r\"T\"=\"x\"\r"),
              "REGEDIT4\n\n[K]\n\"H\"=hex:01,02\n\"T\"=\"x\"\n");
    const std::string exported = utf16LittleEndian(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                                   u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\r\n"
                                                   u"\"InstallDir\"=\"C:\\\\B\u00fchne \U0001F3A5\\\\\"\r\n"
                                                   u"\"PixelsUsed\"=dword:00000800\r\n\r\n");
    EXPECT_EQ(reformat(exported), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\n"
                                  "\"InstallDir\"=\"C:\\\\B\xC3\xBChne \xF0\x9F\x8E\xA5\\\\\"\n"
                                  "\"PixelsUsed\"=dword:00000800\n");
}

// The launcher runs under the user's locale; names must match there as they
// do in the show. test_locales generates tr_TR.UTF-8 where it is missing.
TEST(Regedit4Format, NamesAndHexDigitsFoldAsAsciiInATurkishLocale) {
    if (!std::setlocale(LC_ALL, "tr_TR.UTF-8"))
        GTEST_SKIP() << "tr_TR.UTF-8 is missing and test_locales could not generate it";
    EXPECT_TRUE(regedit4::sameName("PixelsUsed", "PIXELSUSED"));
    EXPECT_TRUE(regedit4::sameName("install", "INSTALL"));
    EXPECT_EQ(reformat("REGEDIT4\n[K]\n\"N\"=dword:0000000A\n"), reformat("REGEDIT4\n[K]\n\"N\"=dword:0000000a\n"));
    EXPECT_EQ(reformat("REGEDIT4\n[K]\n\"IN\"=dword:1\n\"in\"=dword:2\n"), "REGEDIT4\n\n[K]\n\"IN\"=dword:00000002\n")
        << "a name that differs only in case is still the same name";
    std::setlocale(LC_ALL, "C");
}

TEST(Regedit4Format, RejectsDamagedText) {
    const std::vector<std::string> damaged = {
        "garbage\n",
        "REGEDIT4\n\"N\"=dword:1\n",                     // a value outside any key
        "REGEDIT4\n[K]\n\"N\"=dwo",                      // truncated
        "REGEDIT4\n[K]\n\"N\"=\"unterminated\n",
        "REGEDIT4\n[K]\n\"N\"=dword:123456789\n",        // more than four bytes
        "REGEDIT4\n[K]\n\"N\"=hex:1g\n",
        "REGEDIT4\n[K]\n\"N\"=\"a\" trailing\n",
        "REGEDIT4\n[K\n",
        "\xFF\xFE" + std::string("R\0E\0\x00\xDC\n\0", 8),                      // an unpaired surrogate
        "\xFF\xFE" + std::string("R\0E\0G", 5),                                    // an odd byte count
        "REGEDIT4\n[K]\n\"N\"=\"a\0b\"\n"s,
        "REGEDIT4\n[K]\n\\\n\n",                     // a continuation of nothing
        "REGEDIT4\n[K]\n" + std::string(regedit4::kMaxFileBytes, ';'),
    };
    for (const std::string& text : damaged)
        EXPECT_FALSE(parseText(text)) << text.substr(0, 60);
}

TEST_F(Store, GivesBackWhatWasWrittenWithItsType) {
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(setDword("Count", 0x40000000));
    unsigned char bytes[4] = {};
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    ASSERT_EQ(platform::queryValue(key, "count", bytes, 4, size, &type), platform::QueryResult::Ok);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, kDword);
    EXPECT_EQ(bytes[3], 0x40);
    EXPECT_NE(TempConfig::readAll(config.userFile()).find("\"Count\"=dword:40000000"), std::string::npos);
}

TEST_F(Store, FailsAQueryThatDoesNotFitAndSaysWhatWouldFit) {
    ASSERT_TRUE(setText("Dir", "/opt/quorvel"));
    char buffer[4];
    std::uint32_t size = 0;
    EXPECT_EQ(platform::queryValue(key, "Dir", buffer, sizeof buffer, size), platform::QueryResult::TooLarge);
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(platform::queryValue(key, "Missing", buffer, sizeof buffer, size), platform::QueryResult::NotFound);
    EXPECT_EQ(platform::queryValue(nullptr, "Dir", buffer, sizeof buffer, size), platform::QueryResult::Failed);
}

TEST_F(Store, FillsMissingValuesFromTheSystemFileAndWritesOnlyTheUsersFile) {
    TempConfig::writeAll(config.systemFile(),
                         std::string("REGEDIT4\n\n") + kSection + "\n\"Dir\"=\"/opt/q/\"\n\"Size\"=dword:00000002\n");
    ASSERT_TRUE(setDword("Size", 7));
    EXPECT_EQ(text("Dir"), "/opt/q/");
    unsigned char bytes[4] = {};
    std::uint32_t size = 0;
    ASSERT_EQ(platform::queryValue(key, "Size", bytes, 4, size), platform::QueryResult::Ok);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(TempConfig::readAll(config.systemFile()).find("dword:00000007"), std::string::npos);
}

TEST_F(Store, AnEmptyTextLeftForAMissingValueDoesNotHideTheInstallationsValue) {
    ASSERT_TRUE(setText("Dir", ""));
    EXPECT_EQ(text("Dir"), "");
    TempConfig::writeAll(config.systemFile(), std::string("REGEDIT4\n") + kSection + "\n\"Dir\"=\"/opt/q/\"\n");
    EXPECT_EQ(text("Dir"), "/opt/q/");
}

TEST_F(Store, KeepsEverythingElseInTheFileWhenItWritesAValue) {
    TempConfig::writeAll(config.userFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\"Keep\"=hex:01\n\n" +
                                                std::string(kSection) + "\n\"Old\"=\"stays\"\n");
    ASSERT_TRUE(setDword("New", 1));
    const std::string after = TempConfig::readAll(config.userFile());
    EXPECT_NE(after.find("\"Keep\"=hex:01"), std::string::npos);
    EXPECT_NE(after.find("\"Old\"=\"stays\""), std::string::npos);
    EXPECT_NE(after.find("\"New\"=dword:00000001"), std::string::npos);
}

// A rewrite used to drop them.
TEST_F(Store, KeepsTheUsersCommentLinesWhereTheyStandWhenItWritesValues) {
    const auto file = [](const std::string& old) {
        return "; settings of my own\nREGEDIT4\n\n;  the show's key\n" + std::string(kSection) +
               "\n; keep it small\n\"Old\"=" + old + "\n\n; another program's\n[HKEY_CURRENT_USER\\Other]\n"
               "\"Keep\"=hex:01\n; the end\n";
    };
    TempConfig::writeAll(config.userFile(), file("dword:00000001"));
    ASSERT_TRUE(setDword("Old", 2));
    ASSERT_TRUE(setDword("New", 3));
    EXPECT_EQ(TempConfig::readAll(config.userFile()), file("dword:00000002\n\"New\"=dword:00000003"));
}

TEST_F(Store, KeepsADamagedFileAsideBeforeStartingAfresh) {
    const std::string damaged = "REGEDIT4\n[K]\n\"N\"=\"unterminated\n";
    TempConfig::writeAll(config.userFile(), damaged);
    EXPECT_EQ(text("N"), "<none>");
    EXPECT_EQ(TempConfig::readAll(config.userFile()), damaged) << "reading alone must not touch the file";
    ASSERT_TRUE(setDword("N", 1));
    const auto copies = keptCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(TempConfig::readAll(copies[0]), damaged);
    EXPECT_NE(TempConfig::readAll(config.userFile()).find("\"N\"=dword:00000001"), std::string::npos);
}

TEST_F(Store, NeitherReadsNorReplacesAFileItCannotRead) {
    fs::create_directories(config.userFile()); // a folder where the file should be
    EXPECT_EQ(text("N"), "<none>");
    EXPECT_FALSE(setDword("N", 1));
    EXPECT_TRUE(fs::is_directory(config.userFile()));
}

TEST_F(Store, ReportsAWriteThatCannotReachTheDisk) {
    TempConfig::writeAll(config.root() / "file", "x");
    setenv("XDG_CONFIG_HOME", (config.root() / "file").c_str(), 1);
    EXPECT_FALSE(setDword("N", 1));
    EXPECT_EQ(text("N"), "<none>");
}

TEST_F(Store, LeavesNoTemporaryFilesBehind) {
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(setDword("N", static_cast<std::uint32_t>(i)));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(config.userFile().parent_path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(Store, TwoProcessesWritingAtOnceBothKeepTheirValues) {
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<pid_t> writers;
        for (const char* name : {"First", "Second"}) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                platform::KeyHandle own = platform::createKey(kKey);
                const std::uint32_t value = static_cast<std::uint32_t>(round) + 1;
                const unsigned char bytes[4] = {static_cast<unsigned char>(value), 0, 0, 0};
                _exit(platform::setValue(own, name, kDword, bytes, 4) ? 0 : 1);
            }
            writers.push_back(pid);
        }
        for (pid_t pid : writers) {
            int status = 0;
            waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string file = TempConfig::readAll(config.userFile());
        char expected[32];
        std::snprintf(expected, sizeof expected, "dword:%08x", round + 1);
        EXPECT_NE(file.find(std::string("\"First\"=") + expected), std::string::npos) << file;
        EXPECT_NE(file.find(std::string("\"Second\"=") + expected), std::string::npos) << file;
    }
}

namespace {

// Runs body in a child process that is killed if it blocks; gives its exit
// status, or -1 when it had to be killed. The bound only guards the suite
// against hanging; nothing here measures time.
int runGuarded(const std::function<int()>& body, const fs::path& errors, unsigned guardSeconds = 20) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen(errors.c_str(), "w", stderr);
        alarm(guardSeconds);
        const int status = body();
        std::fflush(stderr);
        _exit(status);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int linesOf(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

} // namespace

TEST_F(Store, APipeInPlaceOfEitherFileIsNeitherWaitedOnNorReplaced) {
    for (const fs::path& pipe : {config.userFile(), config.systemFile()}) {
        fs::remove_all(config.root() / "home" / "quorvel3d");
        fs::create_directories(pipe.parent_path());
        ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
        const fs::path errors = config.root() / "stderr.txt";
        const int status = runGuarded(
            [&] {
                const bool found = text("N") != "<none>";
                const bool saved = setDword("N", 1);
                return !found && saved == (pipe == config.systemFile()) ? 0 : 1;
            },
            errors);
        EXPECT_EQ(status, 0) << pipe;
        EXPECT_TRUE(fs::is_fifo(pipe));
        const std::string said = TempConfig::readAll(errors);
        EXPECT_EQ(linesOf(said), 1) << said;
        EXPECT_NE(said.find(pipe.string()), std::string::npos) << said;
        fs::remove(pipe);
    }
}

TEST_F(Store, ReadsAndKeepsEveryValueOfAFileNearTheSizeLimit) {
    constexpr int kValues = 20000;
    std::string file = std::string("REGEDIT4\n\n") + kSection + "\n";
    char line[64];
    for (int i = 0; i < kValues; ++i) {
        std::snprintf(line, sizeof line, "\"V%05d\"=\"%036d\"\n", i, i);
        file += line;
    }
    ASSERT_GT(file.size(), regedit4::kMaxFileBytes * 9 / 10);
    TempConfig::writeAll(config.userFile(), file);
    // Parsing the whole file once more for each value would take many minutes.
    const auto readsAndAdds = [&] {
        for (int i = 0; i < kValues; i += 97) {
            std::snprintf(line, sizeof line, "V%05d", i);
            if (text(line) != std::string(31, '0') + (line + 1)) // the name's digits, padded to 36
                return 1;
        }
        return setDword("Added", 7) ? 0 : 1;
    };
    ASSERT_EQ(runGuarded(readsAndAdds, config.root() / "stderr.txt", 120), 0);
    EXPECT_TRUE(TempConfig::readAll(config.userFile()) == file + "\"Added\"=dword:00000007\n");
}

TEST_F(Store, WritesThroughALinkBesideItsTargetAndLeavesAReadOnlyFileAlone) {
    const fs::path dotfiles = config.root() / "dotfiles";
    fs::create_directories(dotfiles);
    fs::create_directories(config.userFile().parent_path());
    fs::create_symlink("../../dotfiles/settings.reg", config.userFile()); // dangling until the first write
    ASSERT_TRUE(setDword("N", 1));
    ASSERT_TRUE(setDword("M", 2));
    EXPECT_TRUE(fs::is_symlink(config.userFile()));
    EXPECT_NE(TempConfig::readAll(dotfiles / "settings.reg").find("\"M\"=dword:00000002"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), fs::directory_iterator()), 1);

    fs::permissions(dotfiles / "settings.reg", fs::perms::owner_read | fs::perms::group_read);
    const std::string before = TempConfig::readAll(dotfiles / "settings.reg");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(setDword("N", 3));
    EXPECT_FALSE(setText("Other", "x"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(TempConfig::readAll(dotfiles / "settings.reg"), before);
    EXPECT_EQ(linesOf(said), 1) << said;
    EXPECT_NE(said.find("cannot save"), std::string::npos) << said;
    EXPECT_EQ(text("N"), "\x01") << "still readable";
}

TEST_F(Store, AWriteRemovesTemporaryFilesThatKilledWritersLeft) {
    const fs::path folder = config.userFile().parent_path();
    const std::vector<std::string> stale = {".settings.reg.a1B2c3", ".settings.reg.ZZZZZZ"};
    const std::vector<std::string> others = {".settings.reg.toolong7", ".other.reg.a1B2c3", "settings.reg.a1B2c3"};
    for (const auto& names : {stale, others})
        for (const std::string& name : names)
            TempConfig::writeAll(folder / name, "REGEDIT4\n");
    ASSERT_TRUE(setDword("N", 1));
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const std::string& name : others)
        EXPECT_TRUE(fs::exists(folder / name)) << name;
}

// Mutations of valid files must never crash the parser, and whatever it
// accepts must read back the same after being written out.
TEST(Regedit4Format, SurvivesMutatedFilesAndRoundTripsWhatItAccepts) {
    constexpr std::uint32_t kSeed = 20261208;
    constexpr int kRounds = 50000;
    const std::vector<std::string> seeds = {
        "REGEDIT4\n\n[A\\B]\n\"N\"=dword:0000000a\n\"T\"=\"x\\\\y\\\"z\"\n@=\"d\"\n",
        "REGEDIT4\r\n[K]\r\n\"H\"=hex:01,\\\r\n  02,03\r\n\"E\"=hex(2):41,00\r\n; note\r\n",
        "\xEF\xBB\xBFREGEDIT4\n[K]\n\"N\"=dword:1\n[L]\n\"M\"=hex:\n",
    };
    const std::vector<std::string> pieces = {"\\", "\\\n", "\n", "\r\n", "\"", "[", "]", "@", "=", ":", ",",
                                             ";", " ", "hex", "dword:", "(", ")", "0", "f", "-"};
    std::mt19937 random(kSeed);
    auto below = [&](std::size_t n) { return n ? static_cast<std::size_t>(random() % n) : 0; };
    for (int round = 0; round < kRounds; ++round) {
        std::string text = seeds[below(seeds.size())];
        for (std::size_t edits = 1 + below(4); edits > 0; --edits) {
            const std::size_t at = below(text.size() + 1);
            switch (below(3)) {
            case 0: text.insert(at, pieces[below(pieces.size())]); break;
            case 1: text.erase(at, 1 + below(3)); break;
            default: text.insert(at, text.substr(below(text.size()), below(12))); break;
            }
        }
        const auto document = parseText(text);
        if (!document)
            continue;
        const std::string once = regedit4::format(*document);
        ASSERT_EQ(reformat(once), once) << "round " << round << ": " << text;
    }
}
