#include "show/archive_check.h"

#include "tests/support/temp_config.h"
#include "tools/assets/archive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes archive(std::size_t entries) {
    std::vector<assets::ZipEntry> files;
    for (std::size_t i = 0; i < entries; ++i)
        files.push_back({"data/bb_ball_0" + std::to_string(i + 1) + ".jpg", Bytes(100 + i, 0x42)});
    return assets::buildZip(files);
}

void put16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr std::size_t kFlagsAt = 6;       // in a local header
constexpr std::size_t kMethodAt = 8;
constexpr std::size_t kCompressedSizeAt = 18;
constexpr std::size_t kNameLengthAt = 26;
constexpr std::size_t kCentralOffsetFromEnd = 6; // in an end record without a comment

} // namespace

TEST(ArchiveCheckTest, TakesTheShowsOwnArchiveAndOnesLikeIt) {
    const std::string shipped = TempConfig::readAll(fs::path(std::getenv("QV_STAGE_DIR")) / "data01");
    EXPECT_TRUE(isReadableArchive(Bytes(shipped.begin(), shipped.end())));
    EXPECT_TRUE(isReadableArchive(archive(1)));
    EXPECT_TRUE(isReadableArchive(archive(7)));
    Bytes commented = archive(2);
    put16(commented, commented.size() - 2, 3);
    commented.insert(commented.end(), {'a', 'b', 'c'});
    EXPECT_TRUE(isReadableArchive(commented)) << "an end record with its comment";
}

// Each of these hangs or crashes the engine's zip reader.
TEST(ArchiveCheckTest, RefusesWhatTheEnginesReaderCannotTake) {
    Bytes noEnd(33, 0);
    noEnd[0] = 'P', noEnd[1] = 'K', noEnd[2] = 3, noEnd[3] = 4;
    put16(noEnd, kFlagsAt, 8); // sizes after the data: the engine looks for the end record
    EXPECT_FALSE(isReadableArchive(noEnd)) << "no end record";

    Bytes longName = archive(1);
    put16(longName, kNameLengthAt, 0x8000);
    EXPECT_FALSE(isReadableArchive(longName)) << "a name length the engine reads as negative";

    Bytes overlong = archive(2);
    put16(overlong, kCompressedSizeAt + 2, 0x7FFF);
    EXPECT_FALSE(isReadableArchive(overlong)) << "an entry claiming more bytes than the file holds";

    Bytes encrypted = archive(1);
    put16(encrypted, kFlagsAt, 1);
    EXPECT_FALSE(isReadableArchive(encrypted));

    Bytes otherMethod = archive(1);
    put16(otherMethod, kMethodAt, 12);
    EXPECT_FALSE(isReadableArchive(otherMethod)) << "neither stored nor deflated";

    Bytes strayCentral = archive(1);
    put16(strayCentral, kFlagsAt, 8);
    put16(strayCentral, strayCentral.size() - kCentralOffsetFromEnd + 2, 0x7FFF); // far past the end
    EXPECT_FALSE(isReadableArchive(strayCentral));

    EXPECT_FALSE(isReadableArchive(Bytes{}));
    EXPECT_FALSE(isReadableArchive("/nonexistent/data01"));
}
