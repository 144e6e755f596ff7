#include "dist/xscreensaver/programs_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using xscreensaver::kQuorvelEntry;
using xscreensaver::listedPrograms;
using xscreensaver::listsProgram;
using xscreensaver::withEntryAppended;

namespace {

using Programs = std::vector<std::string>;

// Laid out as xscreensaver-settings writes the file: tabs, a wrapped
// command, the list closed by an empty line, "selected:" counting entries.
const std::string kWrittenBySettings =
    "# XScreenSaver Preferences File\n"
    "# Written by xscreensaver-settings 6.06 for alice on Tue Dec  8 10:00:00 2026.\n"
    "\n"
    "timeout:\t0:10:00\n"
    "lock:\t\tFalse\n"
    "\n"
    "mode:\t\tone\n"
    "selected:\t2\n"
    "\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "  GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "-\t\t\t\tattraction --root\t\t\t    \\n\\\n"
    "\t\t  \"Qix (solid)\"  \tqix --root -solid -segments 100\t    \\n\\\n"
    "\t\t\t\tapple2 --root --text --program 'fortune -s'   \\\n"
    "\t\t\t\t  --fast\t\t\t\t    \\n\\\n"
    "  GL: \t\t\"Rubik\"\t\trubik --root\t\t\t    \\n\\\n"
    "\n"
    "\n"
    "pointerHysteresis:\t10\n";

const Programs kStock = {"maze", "superquadrics", "attraction", "qix", "apple2", "rubik"};

Programs plus(Programs programs, const std::string& program) {
    programs.push_back(program);
    return programs;
}

// True when `after` is `before` with one run of bytes inserted somewhere.
bool keepsEveryByte(const std::string& before, const std::string& after) {
    if (after.size() <= before.size())
        return false;
    std::size_t head = 0;
    while (head < before.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return head + tail == before.size();
}

} // namespace

TEST(XscreensaverListTest, AppendsLastToAListAsTheSettingsProgramWritesItKeepingEveryByte) {
    ASSERT_EQ(listedPrograms(kWrittenBySettings), kStock);
    const std::string after = withEntryAppended(kWrittenBySettings, kQuorvelEntry);

    EXPECT_TRUE(keepsEveryByte(kWrittenBySettings, after));
    // Last, so that "selected: 2" still names the same screen saver.
    EXPECT_EQ(listedPrograms(after), plus(kStock, "quorvel3d"));
    const std::string expectedLine = std::string(kQuorvelEntry) + " \\n\\\n\n\npointerHysteresis";
    EXPECT_NE(after.find(expectedLine), std::string::npos) << after;
}

TEST(XscreensaverListTest, FindsItselfOnlyWhereTheDaemonWould) {
    EXPECT_TRUE(listsProgram("programs: maze --root \\n\\\n  GL: \"Quorvel 3D\" quorvel3d --root\n", "quorvel3d"));
    EXPECT_TRUE(listsProgram("Programs: -  GL: /usr/libexec/xscreensaver/quorvel3d --root\n", "quorvel3d"))
        << "disabled, by path, key in another case";

    EXPECT_FALSE(listsProgram("# programs: quorvel3d --root\nprograms: maze --root\n", "quorvel3d"))
        << "a comment";
    EXPECT_FALSE(listsProgram("programs: quorvel3d --root\nprograms: maze --root\n", "quorvel3d"))
        << "the daemon keeps only the last setting";
    EXPECT_FALSE(listsProgram("programs: xanalogtv --root --name quorvel3d\n", "quorvel3d"))
        << "an argument, not the program";
    EXPECT_FALSE(listsProgram("# note \\\nprograms: quorvel3d --root\n", "quorvel3d"))
        << "a comment continued onto the next line";
    EXPECT_FALSE(listsProgram("programs: quorvel3dx --root\n", "quorvel3d"));
}

TEST(XscreensaverListTest, AppendsLastHoweverTheListEnds) {
    struct Case {
        const char* What;
        std::string Before;
        Programs After;
    };
    const std::vector<Case> cases = {
        {"one line", "programs: maze --root\nlock: False\n", {"maze", "quorvel3d"}},
        {"one line, no final line feed", "programs: maze --root", {"maze", "quorvel3d"}},
        {"last line with its own newline escape", "programs: \\\n maze --root \\n\\\n rubik --root \\n\n",
         {"maze", "rubik", "quorvel3d"}},
        {"an escaped backslash before the n", "programs: \\\n maze --root \\\\n\n", {"maze", "quorvel3d"}},
        {"empty list", "programs:\nlock: False\n", {"quorvel3d"}},
        {"continued past the end of the file", "programs: \\\n maze --root \\n\\\n", {"maze", "quorvel3d"}},
        {"a wrapped last command", "programs: \\\n maze --root \\n\\\n qix --root \\\n   --solid\n",
         {"maze", "qix", "quorvel3d"}},
        {"the last entry without its newline escape, closed by an empty line",
         "programs: \\\n maze --root \\n\\\n rubik --root \\\n\nlock: False\n", {"maze", "rubik", "quorvel3d"}},
        {"the last entry without its newline escape, continued past the end of the file",
         "programs: \\\n maze --root \\n\\\n rubik --root \\\n", {"maze", "rubik", "quorvel3d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string after = withEntryAppended(c.Before, kQuorvelEntry);
        EXPECT_TRUE(keepsEveryByte(c.Before, after)) << after;
        EXPECT_EQ(listedPrograms(after), c.After) << after;
    }
}

TEST(XscreensaverListTest, WrappedCommandStaysOneEntryWithItsArguments) {
    const std::string after = withEntryAppended("programs: \\\n maze --root \\n\\\n qix --root \\\n   --solid\n",
                                                kQuorvelEntry);
    EXPECT_NE(after.find("--solid \\n\\\n" + std::string(kQuorvelEntry)), std::string::npos) << after;
}

TEST(XscreensaverListTest, AddsAListAtTheEndWhenThereIsNone) {
    const std::vector<std::string> files = {
        "timeout: 0:05:00\nlock: True\n",
        "timeout: 0:05:00",
        "timeout: 0:05:00 \\\n",
        "",
    };
    for (const std::string& before : files) {
        SCOPED_TRACE(before);
        const std::string after = withEntryAppended(before, kQuorvelEntry);
        EXPECT_EQ(after.substr(0, before.size()), before);
        EXPECT_EQ(listedPrograms(after), Programs{"quorvel3d"}) << after;
    }
}

TEST(XscreensaverListTest, NewFileListsOnlyUsAndNeedsNothingAdded) {
    const std::string text = xscreensaver::newFileText(kQuorvelEntry);
    EXPECT_EQ(listedPrograms(text), Programs{"quorvel3d"});
    EXPECT_EQ(text.find("GL: \"Quorvel 3D\" quorvel3d --root") != std::string::npos, true);
}
