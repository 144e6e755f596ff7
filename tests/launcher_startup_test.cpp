#include "launcher/startup.h"
#include "platform/dialog_kit/process.h"
#include "settings/schema.h"
#include "tests/launcher_test_support.h"
#include "tests/support/temp_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace testing_launcher;
using launcher::LaunchMode;
namespace fs = std::filesystem;

namespace {

struct ModeCase {
    const char* Line;
    LaunchMode Mode;
};

TEST(LauncherCommandLine, FirstTwoCharactersChooseTheMode) {
    const ModeCase cases[] = {
        {"/s", LaunchMode::RunShow},       {"/S", LaunchMode::RunShow},
        {"/S5", LaunchMode::RunShow},      {"/sx", LaunchMode::RunShow},
        {"/p", LaunchMode::Preview},       {"/P", LaunchMode::Preview},
        {"/p 1234", LaunchMode::Preview},  {"", LaunchMode::Configure},
        {"/c", LaunchMode::Configure},     {"/c:4711", LaunchMode::Configure},
        {"-s", LaunchMode::Configure},     {"s", LaunchMode::Configure},
        {"/", LaunchMode::Configure},      {"/x", LaunchMode::Configure},
        {" /s", LaunchMode::Configure},    {"S/", LaunchMode::Configure},
    };
    for (const ModeCase& c : cases)
        EXPECT_EQ(launcher::classify(c.Line), c.Mode) << '"' << c.Line << '"';
}

std::string join(std::vector<std::string> args) {
    std::vector<const char*> argv{"Quorvel3D"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    launcher::PathBuffer buffer{};
    return std::string(launcher::joinCommandLine(static_cast<int>(argv.size()), argv.data(), buffer));
}

TEST(LauncherCommandLine, ArgumentsAreJoinedByOneSpaceAfterLeadingBlanks) {
    EXPECT_EQ(join({}), "");
    EXPECT_EQ(join({"/p", "1234"}), "/p 1234");
    EXPECT_EQ(join({"", " \t", "/s", "x"}), "/s x");
    EXPECT_EQ(launcher::classify(join({"  ", "/S"})), LaunchMode::RunShow);
}

TEST(LauncherCommandLine, OverlongLineIsCutToTheBufferAndKeepsItsMode) {
    const std::string tail(2 * launcher::kPathBufferSize, 'x');
    const std::string line = join({std::string(100, ' ') + "/s", tail, tail});
    EXPECT_EQ(line.size(), launcher::kPathBufferSize - 1);
    EXPECT_EQ(line.substr(0, 3), "/s ");
    EXPECT_EQ(launcher::classify(line), LaunchMode::RunShow);
}

// Sets an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : Name(name) {
        if (const char* old = std::getenv(name))
            Old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (Old)
            setenv(Name, Old->c_str(), 1);
        else
            unsetenv(Name);
    }

private:
    const char* Name;
    std::optional<std::string> Old;
};

// A stand-in show: records its working directory and arguments, then fails.
constexpr const char* kFakeShow = "#!/bin/sh\n"
                                  "{ pwd -P; echo \"args:$#\"; sleep 0.2; echo finished; } > \"$QV_FAKE_SHOW_LOG\"\n"
                                  "exit 3\n";

struct LauncherStartingTheShow : ::testing::Test {
    TempConfig config;
    fs::path install = config.root() / "install";
    fs::path pathDir = config.root() / "on-path";
    fs::path log = config.root() / "show.log";
    ScopedEnv logEnv{"QV_FAKE_SHOW_LOG", log.string()};
    ScopedEnv pathEnv{"PATH", pathDir.string()};
    MessageRecorder messages;

    void SetUp() override {
        fs::create_directories(install);
        fs::create_directories(pathDir);
    }
    static void placeShow(const fs::path& directory) {
        TempConfig::writeAll(directory / launcher::kShowProgram, kFakeShow);
        fs::permissions(directory / launcher::kShowProgram, fs::perms::owner_all);
    }
    std::string shownLog() const { return TempConfig::readAll(log); }
    std::string ranIn(const fs::path& directory) const {
        return fs::canonical(directory).string() + "\nargs:0\nfinished\n";
    }
    void expectNotFound() const {
        ASSERT_EQ(messages.Messages.size(), 1u);
        EXPECT_EQ(messages.Messages[0].Text, "Executable module not found!\nPlease reinstall the application!");
        EXPECT_EQ(messages.Messages[0].Caption, "Error");
        EXPECT_EQ(messages.Messages[0].Icon, platform::MessageIcon::Warning);
        EXPECT_EQ(messages.Messages[0].Owner, nullptr);
        EXPECT_FALSE(fs::exists(log));
    }
};

TEST_F(LauncherStartingTheShow, RunsInTheInstallDirectoryWithoutArgumentsAndWaitsForIt) {
    placeShow(install);
    storeText(schema::kInstallDir, install.string() + "/");
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    EXPECT_EQ(shownLog(), ranIn(install));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(LauncherStartingTheShow, DirectoryWithoutTrailingSlashIsUsedAsItIs) {
    placeShow(install);
    storeText(schema::kInstallDir, install.string());
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    EXPECT_EQ(shownLog(), ranIn(install));
}

TEST_F(LauncherStartingTheShow, ShowOnThePathStillRunsInTheInstallDirectory) {
    placeShow(pathDir);
    storeText(schema::kInstallDir, install.string() + "/");
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    EXPECT_EQ(shownLog(), ranIn(install));
}

TEST_F(LauncherStartingTheShow, MissingShowIsReportedAndStillEndsWithZero) {
    storeText(schema::kInstallDir, install.string() + "/");
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    expectNotFound();
}

TEST_F(LauncherStartingTheShow, MissingInstallDirectoryIsReported) {
    storeText(schema::kInstallDir, (install / "gone").string() + "/");
    placeShow(pathDir);
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    expectNotFound();
}

TEST_F(LauncherStartingTheShow, AbsentInstallDirIsCreatedEmptyAndTheShowIsNotFound) {
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    expectNotFound();
    const std::optional<StoredValue> dir = stored(schema::kInstallDir);
    ASSERT_TRUE(dir);
    EXPECT_EQ(dir->Bytes, std::string(1, '\0'));
}

// Running a program from whatever folder the launcher was started in is
// unsafe: an empty install directory names no place to start the show from.
TEST_F(LauncherStartingTheShow, EmptyInstallDirIsNotFoundEvenWithAShowAtHand) {
    const fs::path startedIn = fs::current_path();
    placeShow(config.root());
    fs::current_path(config.root());
    const std::optional<pid_t> local = platform::startProgram(launcher::kShowProgram, "");
    placeShow(pathDir);
    storeText(schema::kInstallDir, "");
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    fs::current_path(startedIn);
    EXPECT_EQ(local, std::nullopt) << "without a directory only PATH is searched";
    expectNotFound();
}

TEST_F(LauncherStartingTheShow, OverlongInstallDirIsNotFoundAndKept) {
    const std::string overlong = "/" + std::string(3000, 'd') + "/";
    storeText(schema::kInstallDir, overlong);
    EXPECT_EQ(launcher::runMode(LaunchMode::RunShow), 0);
    expectNotFound();
    EXPECT_EQ(stored(schema::kInstallDir)->Bytes, overlong + '\0');
}

TEST_F(LauncherStartingTheShow, PreviewEndsAtOnceAndTouchesNothing) {
    placeShow(install);
    storeText(schema::kInstallDir, install.string() + "/");
    const std::string before = TempConfig::readAll(config.userFile());
    EXPECT_EQ(launcher::runMode(LaunchMode::Preview), 0);
    EXPECT_FALSE(fs::exists(log));
    EXPECT_EQ(TempConfig::readAll(config.userFile()), before);
}

} // namespace
