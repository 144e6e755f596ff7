#include "show/picture_folder.h"

#include "tests/support/temp_config.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

class PictureFolder : public ::testing::Test {
protected:
    fs::path folder(const char* name) {
        const fs::path path = temp.root() / name;
        fs::create_directories(path);
        return path;
    }
    TempConfig temp;
};

TEST_F(PictureFolder, TheFirstFolderWithTheArchiveOrAPictureFolderWins) {
    const fs::path empty = folder("empty");
    const fs::path withFolder = folder("with-folder");
    fs::create_directory(withFolder / "data");
    const fs::path withArchive = folder("with-archive");
    TempConfig::writeAll(withArchive / "data01", "PK");

    EXPECT_EQ(firstPictureFolder({"", empty, temp.root() / "gone", withFolder, withArchive}), withFolder);
    EXPECT_EQ(firstPictureFolder({withArchive, withFolder}), withArchive);
}

TEST_F(PictureFolder, NamesOfTheWrongKindOrNoCandidatesFindNothing) {
    const fs::path wrong = folder("wrong");
    TempConfig::writeAll(wrong / "data", "a file, not a folder");
    fs::create_directory(wrong / "data01"); // a folder, not the archive

    EXPECT_EQ(firstPictureFolder({wrong}), std::nullopt);
    EXPECT_EQ(firstPictureFolder({"", ""}), std::nullopt);
    EXPECT_EQ(firstPictureFolder({}), std::nullopt);
}
