#include "tests/support/null_engine.h"
#include "tests/support/temp_config.h"
#include "tools/assets/asset_set.h"
#include "tools/assets/ball_picture.h"
#include "tools/assets/sky_picture.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>

namespace fs = std::filesystem;
using assets::Raster;
using assets::Rgb;

namespace {

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
int brightest(Rgb c) { return std::max({c.r, c.g, c.b}); }
int sum(Rgb c) { return c.r + c.g + c.b; }

std::vector<std::string> allPicturePaths() {
    std::vector<std::string> paths;
    for (int k = 1; k <= assets::kBallCount; ++k)
        paths.push_back(assets::ballPicturePath(k));
    paths.push_back(assets::kSkyPicturePath);
    return paths;
}

// A fresh install folder holding the generated data, made the working
// directory for the test, as the show runs in its install folder.
class InstallFolder : public ::testing::Test {
protected:
    void SetUp() override {
        assets::writeAssetSet(Dir.root());
        Previous = fs::current_path();
        fs::current_path(Dir.root());
    }
    void TearDown() override { fs::current_path(Previous); }

    fs::path root() const { return Dir.root(); }

private:
    TempConfig Dir;
    fs::path Previous;
};

Rgb pixelOf(irr::video::IImage& image, int x, int y) {
    const irr::video::SColor c = image.getPixel(static_cast<irr::u32>(x), static_cast<irr::u32>(y));
    return {static_cast<std::uint8_t>(c.getRed()), static_cast<std::uint8_t>(c.getGreen()),
            static_cast<std::uint8_t>(c.getBlue())};
}

} // namespace

TEST(BallPictures, AreBlackOutsideTheRimAndNearWhiteInTheMiddle) {
    for (const assets::Colour colour : assets::kBallColours) {
        const Raster ball = assets::drawBall(colour);
        ASSERT_EQ(ball.width(), ball.height());
        EXPECT_TRUE(isPowerOfTwo(ball.width()));
        const float radius = ball.width() / 2.0f;
        for (int y = 0; y < ball.height(); ++y)
            for (int x = 0; x < ball.width(); ++x) {
                const bool outside = std::hypot(x + 0.5f - radius, y + 0.5f - radius) >= radius;
                ASSERT_TRUE(!outside || brightest(ball.at(x, y)) == 0) << x << "," << y;
            }
        const Rgb centre = ball.at(ball.width() / 2, ball.height() / 2);
        EXPECT_GE(std::min({centre.r, centre.g, centre.b}), 200);
    }
}

TEST(BallPictures, FadeWithoutRingsFromCentreToRim) {
    for (const assets::Colour colour : assets::kBallColours) {
        const Raster ball = assets::drawBall(colour);
        const int middle = ball.height() / 2;
        for (int x = middle + 1; x < ball.width(); ++x)
            ASSERT_LE(sum(ball.at(x, middle)), sum(ball.at(x - 1, middle))) << x;
    }
}

TEST(BallPictures, ShowTheirColourHalfwayOut) {
    // Which channels carry each ball's colour: red, green, blue.
    const std::array<std::array<bool, 3>, assets::kBallCount> lit = {{
        {true, true, false},  // yellow
        {true, false, false}, // red
        {false, false, true}, // blue
        {false, true, true},  // cyan
        {true, false, true},  // purple
        {false, true, false}, // green
    }};
    for (int k = 0; k < assets::kBallCount; ++k) {
        const Raster ball = assets::drawBall(assets::kBallColours[k]);
        const Rgb c = ball.at(ball.width() / 2 + ball.width() / 4, ball.height() / 2);
        const std::array<int, 3> channels = {c.r, c.g, c.b};
        int weakestLit = 255, strongestDark = 0;
        for (int i = 0; i < 3; ++i) {
            if (lit[k][i])
                weakestLit = std::min(weakestLit, channels[i]);
            else
                strongestDark = std::max(strongestDark, channels[i]);
        }
        EXPECT_GE(weakestLit, 50) << "ball " << k + 1;
        EXPECT_LT(strongestDark * 5, weakestLit * 2) << "ball " << k + 1;
    }
}

TEST(SkyPicture, IsDarkWithManyStars) {
    const Raster sky = assets::drawSky();
    ASSERT_EQ(sky.width(), sky.height());
    EXPECT_TRUE(isPowerOfTwo(sky.width()));
    double total = 0;
    int stars = 0;
    for (int y = 1; y + 1 < sky.height(); ++y)
        for (int x = 1; x + 1 < sky.width(); ++x) {
            const Rgb c = sky.at(x, y);
            total += sum(c) / 3.0;
            const bool peak = brightest(c) >= 128 && brightest(c) > brightest(sky.at(x - 1, y)) &&
                              brightest(c) >= brightest(sky.at(x + 1, y)) &&
                              brightest(c) > brightest(sky.at(x, y - 1)) &&
                              brightest(c) >= brightest(sky.at(x, y + 1));
            stars += peak ? 1 : 0;
        }
    EXPECT_LT(total / (sky.width() * sky.height()), 16.0);
    EXPECT_GE(stars, 100);
}

// All six faces of the sky box show this picture, so its four edges meet one
// another at the cube's seams.
TEST(SkyPicture, HasOneColourAllAlongItsEdges) {
    const Raster sky = assets::drawSky();
    const Rgb corner = sky.at(0, 0);
    const int last = sky.width() - 1;
    for (int i = 0; i <= last; ++i)
        for (const Rgb edge : {sky.at(i, 0), sky.at(i, last), sky.at(0, i), sky.at(last, i)})
            ASSERT_TRUE(edge.r == corner.r && edge.g == corner.g && edge.b == corner.b) << i;
}

TEST_F(InstallFolder, EnginePicturesKeepTheirLook) {
    NullEngine engine;
    for (int k = 1; k <= assets::kBallCount; ++k) {
        irr::video::IImage* ball = engine.driver().createImageFromFile(assets::ballPicturePath(k).c_str());
        ASSERT_NE(ball, nullptr);
        const int side = static_cast<int>(ball->getDimension().Width);
        EXPECT_EQ(side, assets::kBallSizePx);
        for (const auto& [x, y] : {std::pair{0, 0}, {side - 1, 0}, {0, side - 1}, {side - 1, side - 1}})
            EXPECT_LE(brightest(pixelOf(*ball, x, y)), 4) << "ball " << k << " corner " << x << "," << y;
        EXPECT_GE(sum(pixelOf(*ball, side / 2, side / 2)), 3 * 200) << "ball " << k;
        ball->drop();
    }
    irr::video::IImage* sky = engine.driver().createImageFromFile(assets::kSkyPicturePath);
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->getDimension().Width, static_cast<irr::u32>(assets::kSkySizePx));
    sky->drop();
}

TEST_F(InstallFolder, EveryPictureLoadsFromTheArchiveAlone) {
    fs::remove_all(root() / "data");
    NullEngine engine;
    ASSERT_TRUE(engine.mount(assets::kArchiveName));
    for (const std::string& path : allPicturePaths())
        EXPECT_TRUE(engine.loadsTexture(path)) << path;
}

TEST_F(InstallFolder, EveryPictureLoadsFromLooseFilesAlone) {
    fs::remove(root() / assets::kArchiveName);
    NullEngine engine;
    EXPECT_FALSE(engine.mount(assets::kArchiveName));
    for (const std::string& path : allPicturePaths())
        EXPECT_TRUE(engine.loadsTexture(path)) << path;
}

TEST_F(InstallFolder, ArchiveHoldsTheLooseFilesByteForByte) {
    fs::rename(root() / "data", root() / "loose");
    NullEngine engine;
    ASSERT_TRUE(engine.mount(assets::kArchiveName));
    for (const std::string& path : allPicturePaths()) {
        const std::string loose = TempConfig::readAll(root() / "loose" / fs::path(path).filename());
        EXPECT_FALSE(loose.empty()) << path;
        const auto packed = engine.read(path);
        ASSERT_TRUE(packed) << path;
        EXPECT_EQ(std::string(packed->begin(), packed->end()), loose) << path;
    }
}

TEST_F(InstallFolder, CorruptArchiveLeavesTheLooseFilesUsable) {
    TempConfig::writeAll(root() / assets::kArchiveName, "PK\x03\x04 then nothing a zip reader expects");
    NullEngine engine;
    engine.mount(assets::kArchiveName);
    for (const std::string& path : allPicturePaths())
        EXPECT_TRUE(engine.loadsTexture(path)) << path;
}

// Only pictures that are not JPEG at all are tried here: a JPEG cut short
// makes the engine's reader run past the end of its buffer (its input
// callback claims more data where there is none), which may crash.
TEST_F(InstallFolder, PictureThatIsNotAJpegGivesNoTextureAndSparesTheOthers) {
    fs::remove(root() / assets::kArchiveName);
    TempConfig::writeAll(root() / assets::ballPicturePath(2), std::string(2048, '\x5A'));
    NullEngine engine;
    engine.mount(assets::kArchiveName);
    EXPECT_FALSE(engine.loadsTexture(assets::ballPicturePath(2)));
    EXPECT_TRUE(engine.loadsTexture(assets::ballPicturePath(1)));
    EXPECT_TRUE(engine.loadsTexture(assets::kSkyPicturePath));
}

namespace {

// Runs the generator with the given arguments; gives its exit status and
// what it printed on stderr.
std::pair<int, std::string> runGenerator(const std::string& arguments, const fs::path& scratch) {
    const fs::path errors = scratch / "stderr.txt";
    const std::string command = "'" + std::string(QV_ASSETS_PROGRAM) + "' " + arguments + " 2>'" + errors.string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempConfig::readAll(errors)};
}

} // namespace

TEST(GeneratorProgram, FailsWithAMessageWhenItCannotWrite) {
    TempConfig dir;
    TempConfig::writeAll(dir.root() / "plain-file", "not a folder");
    const auto [status, message] = runGenerator((dir.root() / "plain-file" / "install").string(), dir.root());
    EXPECT_NE(status, 0);
    EXPECT_NE(message.find("qvassets"), std::string::npos) << message;

    const auto [usageStatus, usage] = runGenerator("", dir.root());
    EXPECT_NE(usageStatus, 0);
    EXPECT_NE(usage.find("usage"), std::string::npos) << usage;
}

// The build runs the generator into the stage folder; what it left there must
// be what the generator draws now, and complete.
TEST(GeneratorProgram, StageFolderHoldsTheDataFiles) {
    const char* stage = std::getenv("QV_STAGE_DIR");
    if (!stage)
        GTEST_SKIP() << "QV_STAGE_DIR is not set";
    const std::vector<assets::ZipEntry> pictures = assets::drawAssetSet();
    for (const assets::ZipEntry& picture : pictures) {
        const std::string staged = TempConfig::readAll(fs::path(stage) / picture.name);
        EXPECT_EQ(staged, std::string(picture.data.begin(), picture.data.end())) << picture.name;
    }
    const std::vector<std::uint8_t> zip = assets::buildZip(pictures);
    EXPECT_EQ(TempConfig::readAll(fs::path(stage) / assets::kArchiveName), std::string(zip.begin(), zip.end()));
}
