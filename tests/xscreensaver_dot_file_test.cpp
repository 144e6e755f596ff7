#include "dist/xscreensaver/dot_file.h"
#include "dist/xscreensaver/programs_list.h"
#include "tests/support/temp_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using xscreensaver::addQuorvelEntry;
using xscreensaver::Outcome;

namespace {

constexpr const char* kOtherHacks = "mode: one\nselected: 1\nprograms: \\\n maze --root \\n\\\n GL: rubik --root \\n\\\n\n";

mode_t modeOf(const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(XscreensaverDotFileTest, AddsOnceKeepingPermissions) {
    TempConfig temp;
    const fs::path file = temp.root() / "alice" / ".xscreensaver";
    TempConfig::writeAll(file, kOtherHacks);
    ::chmod(file.c_str(), 0600);

    EXPECT_EQ(addQuorvelEntry(file).What, Outcome::Added);
    const std::string once = TempConfig::readAll(file);
    EXPECT_EQ(addQuorvelEntry(file).What, Outcome::AlreadyListed);

    EXPECT_EQ(TempConfig::readAll(file), once);
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_TRUE(xscreensaver::listsProgram(once, "quorvel3d"));
    const auto entries = std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator());
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";
}

TEST(XscreensaverDotFileTest, ReplacesTheTargetOfALinkAndKeepsTheLink) {
    TempConfig temp;
    const fs::path real = temp.root() / "dotfiles" / "xscreensaver";
    fs::create_directories(real.parent_path());
    TempConfig::writeAll(real, kOtherHacks);
    const fs::path link = temp.root() / ".xscreensaver";
    fs::create_symlink(real, link);

    const auto result = addQuorvelEntry(link);

    EXPECT_EQ(result.What, Outcome::Added);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(xscreensaver::listsProgram(TempConfig::readAll(real), "quorvel3d"));
}

TEST(XscreensaverDotFileTest, LeavesAReadOnlyFileAlone) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    TempConfig temp;
    const fs::path file = temp.root() / ".xscreensaver";
    TempConfig::writeAll(file, kOtherHacks);
    ::chmod(file.c_str(), 0444);

    const auto result = addQuorvelEntry(file);

    EXPECT_EQ(result.What, Outcome::Failed);
    EXPECT_EQ(TempConfig::readAll(file), kOtherHacks);
}

// The daemon drops a backslash and the byte after it from the end of a file
// without a final line feed; anything added after that line would bring
// them back into the user's setting.
TEST(XscreensaverDotFileTest, LeavesAloneAFileWhoseSettingsAnAdditionWouldChange) {
    TempConfig temp;
    const fs::path file = temp.root() / ".xscreensaver";
    const std::string unterminated = "mode: random\nimageDirectory: /home/alice/pictures\\s";
    TempConfig::writeAll(file, unterminated);

    const auto result = addQuorvelEntry(file);

    EXPECT_EQ(result.What, Outcome::Failed);
    EXPECT_NE(result.Problem.find("by hand"), std::string::npos) << result.Problem;
    EXPECT_EQ(TempConfig::readAll(file), unterminated);
}

TEST(XscreensaverDotFileTest, CreatesAMissingFileAndRefusesAFolder) {
    TempConfig temp;
    const fs::path file = temp.root() / ".xscreensaver";
    EXPECT_EQ(addQuorvelEntry(file).What, Outcome::Created);
    EXPECT_EQ(xscreensaver::listedPrograms(TempConfig::readAll(file)), std::vector<std::string>{"quorvel3d"});

    const fs::path folder = temp.root() / "folder";
    fs::create_directories(folder);
    const auto result = addQuorvelEntry(folder);
    EXPECT_EQ(result.What, Outcome::Failed);
    EXPECT_FALSE(result.Problem.empty());
}
