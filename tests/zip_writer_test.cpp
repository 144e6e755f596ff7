#include "tests/support/null_engine.h"
#include "tests/support/temp_config.h"
#include "tools/assets/crc32.h"
#include "tools/assets/zip_writer.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using assets::buildZip;
using assets::ZipEntry;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::uint32_t read16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t read32(const Bytes& b, std::size_t at) { return read16(b, at) | read16(b, at + 2) << 16; }

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    TempConfig::writeAll(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace

TEST(Crc32, MatchesPublishedCheckValues) {
    EXPECT_EQ(assets::crc32(""), 0x00000000u);
    EXPECT_EQ(assets::crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(assets::crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    const Bytes zeros(32, 0);
    EXPECT_EQ(assets::crc32(zeros.data(), zeros.size()), 0x190A55ADu);
    Bytes everyByte(256);
    for (std::size_t i = 0; i < everyByte.size(); ++i)
        everyByte[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(assets::crc32(everyByte.data(), everyByte.size()), 0x29058C73u);
}

TEST(ZipWriter, EmptyArchiveIsABareEndRecord) {
    Bytes expected = {'P', 'K', 5, 6};
    expected.resize(22, 0);
    EXPECT_EQ(buildZip({}), expected);
}

// Offsets and signatures as the zip format defines them, for one stored file.
TEST(ZipWriter, HeadersDescribeAStoredEntry) {
    const Bytes zip = buildZip({{"a.txt", bytesOf("123456789")}});
    constexpr std::size_t kLocalHeader = 30, kCentralHeader = 46, kEndRecord = 22;
    constexpr std::size_t kName = 5, kData = 9;
    ASSERT_EQ(zip.size(), kLocalHeader + kName + kData + kCentralHeader + kName + kEndRecord);

    EXPECT_EQ(read32(zip, 0), 0x04034B50u);
    EXPECT_EQ(read16(zip, 8), 0u); // stored
    EXPECT_EQ(read32(zip, 14), 0xCBF43926u);
    EXPECT_EQ(read32(zip, 18), kData);
    EXPECT_EQ(read32(zip, 22), kData);
    EXPECT_EQ(read16(zip, 26), kName);
    EXPECT_EQ(std::string(zip.begin() + 30, zip.begin() + 35), "a.txt");
    EXPECT_EQ(std::string(zip.begin() + 35, zip.begin() + 44), "123456789");

    const std::size_t central = 44;
    EXPECT_EQ(read32(zip, central), 0x02014B50u);
    EXPECT_EQ(read32(zip, central + 16), 0xCBF43926u);
    EXPECT_EQ(read32(zip, central + 42), 0u); // where the local header starts

    const std::size_t end = zip.size() - kEndRecord;
    EXPECT_EQ(read32(zip, end), 0x06054B50u);
    EXPECT_EQ(read16(zip, end + 10), 1u);
    EXPECT_EQ(read32(zip, end + 12), kCentralHeader + kName);
    EXPECT_EQ(read32(zip, end + 16), central);
}

TEST(ZipWriter, StoresBackslashesAsForwardSlashes) {
    EXPECT_EQ(assets::normalizeEntryName("data\\bb_ball_01.jpg"), "data/bb_ball_01.jpg");
    const Bytes zip = buildZip({{"a\\b", bytesOf("1")}});
    EXPECT_EQ(std::string(zip.begin() + 30, zip.begin() + 33), "a/b");
}

TEST(ZipWriter, RejectsNamesThatAreNotRelativeFilePaths) {
    for (const char* name : {"", "/etc/passwd", "../up", "data/../../up", "a//b", "dir/", "./a", "tab\there",
                             "caf\xC3\xA9"})
        EXPECT_THROW(buildZip({{name, {}}}), std::invalid_argument) << name;
}

TEST(ZipWriter, RejectsNamesThatDifferOnlyInCase) {
    // The show mounts its archive ignoring case, so only one of them could be found.
    EXPECT_THROW(buildZip({{"data/a.jpg", {}}, {"DATA/A.jpg", {}}}), std::invalid_argument);
}

TEST(ZipWriterWithEngine, EngineReadsEveryEntryBack) {
    TempConfig dir;
    Bytes everyByte(1000);
    for (std::size_t i = 0; i < everyByte.size(); ++i)
        everyByte[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<ZipEntry> entries = {
        {"readme.txt", bytesOf("a stored text\n")},
        {"data/bb_ball_01.jpg", everyByte},
        {"data/deeper/still/deeper.bin", bytesOf("nested")},
        {"empty.dat", {}},
    };
    writeFile(dir.root() / "data01", buildZip(entries));

    NullEngine engine;
    ASSERT_TRUE(engine.mount((dir.root() / "data01").c_str()));
    EXPECT_EQ(engine.files().getFileArchive(0)->getFileList()->getFileCount(), entries.size());
    for (const ZipEntry& entry : entries)
        EXPECT_EQ(engine.read(entry.name), entry.data) << entry.name;
    EXPECT_EQ(engine.read("DATA/BB_BALL_01.JPG"), everyByte); // case is ignored, as the show asks
    EXPECT_FALSE(engine.read("data/missing.jpg").has_value());
}
