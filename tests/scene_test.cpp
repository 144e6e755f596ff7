#include "show/picture_check.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/pixel.h"
#include "show/swarm/scheduler.h"

#include "tests/support/temp_config.h"
#include "tools/assets/archive.h"
#include "tools/assets/jpeg_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using irr::core::vector3df;

namespace {

constexpr std::uint32_t kSeed = 99;

// Runs each test in a folder of its own, laid with what the test asks for.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qvscene-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
        Previous = fs::current_path();
        fs::current_path(Folder);
    }
    void TearDown() override {
        stopHeadlessShow();
        fs::current_path(Previous);
        fs::remove_all(Folder);
    }

    static fs::path stage() { return std::getenv("QV_STAGE_DIR"); }
    void layArchive() const { fs::copy_file(stage() / "data01", Folder / "data01"); }
    void layLooseFiles() const { fs::copy(stage() / "data", Folder / "data"); }
    void write(const std::string& name, const std::string& bytes) const {
        fs::create_directories((Folder / name).parent_path());
        std::ofstream(Folder / name, std::ios::binary) << bytes;
    }

    static void build(const ShowSettings& settings) { ASSERT_TRUE(startHeadlessShow(settings, kSeed)); }

    static std::vector<irr::scene::ISceneNode*> nodesOfType(irr::scene::ESCENE_NODE_TYPE type) {
        std::vector<irr::scene::ISceneNode*> found;
        for (irr::scene::ISceneNode* node : Show.Device.SceneManager->getRootSceneNode()->getChildren())
            if (node->getType() == type)
                found.push_back(node);
        return found;
    }

    static std::set<std::string> ballPictures() {
        std::set<std::string> names;
        for (Pixel* p : swarm()) {
            irr::video::ITexture* texture = p->Node->getMaterial(0).getTexture(0);
            // The engine names a loose file by its full path, a packed one by its path in the archive.
            const fs::path name = texture ? texture->getName().getPath().c_str() : "<none>";
            names.insert(texture ? (name.parent_path().filename() / name.filename()).string() : "<none>");
        }
        return names;
    }

    static bool skyIsTextured() {
        const auto sky = nodesOfType(irr::scene::ESNT_SKY_BOX);
        return sky.size() == 1 && sky[0]->getMaterial(0).getTexture(0) != nullptr;
    }

    static float circleValue(irr::scene::ISceneNode* node, const char* name) {
        irr::io::IAttributes* attributes = Show.Device.FileSystem->createEmptyAttributes(Show.Device.VideoDriver);
        const irr::core::list<irr::scene::ISceneNodeAnimator*>& animators = node->getAnimators();
        EXPECT_EQ(animators.size(), 1u);
        (*animators.begin())->serializeAttributes(attributes);
        const float value = attributes->getAttributeAsFloat(name);
        attributes->drop();
        return value;
    }

    fs::path Folder;
    fs::path Previous;
};

} // namespace

TEST_F(SceneTest, BuildsEveryPixelAsAnAdditiveBillboardOfTheChosenSize) {
    ShowSettings settings;
    settings.PixelsSize = 4.0f;
    build(settings);
    const auto billboards = nodesOfType(irr::scene::ESNT_BILLBOARD);
    ASSERT_EQ(billboards.size(), 1024u);
    EXPECT_EQ(Show.Pixels[1023]->Node, billboards.back());
    EXPECT_EQ(Show.Pixels[1024], nullptr);
    for (Pixel* p : swarm()) {
        auto* node = p->Node;
        EXPECT_EQ(node->getSize(), irr::core::dimension2df(4.0f, 4.0f));
        ASSERT_GT(node->getMaterialCount(), 0u);
        EXPECT_EQ(node->getMaterial(0).MaterialType, irr::video::EMT_TRANSPARENT_ADD_COLOR);
        EXPECT_FALSE(node->getMaterial(0).Lighting);
    }
}

TEST_F(SceneTest, PicksOnePictureForAllOrAMixOfAll) {
    layLooseFiles();
    ShowSettings settings;
    settings.PixelsColor = 3;
    build(settings);
    EXPECT_EQ(ballPictures(), std::set<std::string>{"data/bb_ball_03.jpg"});
    stopHeadlessShow();

    for (const std::int32_t random : {0, 7, -3}) {
        settings.PixelsColor = random;
        build(settings);
        EXPECT_EQ(ballPictures().size(), 6u) << random;
        stopHeadlessShow();
    }
}

TEST_F(SceneTest, LightingAddsOneWhiteLightCirclingCloserAndFaster) {
    ShowSettings settings;
    build(settings);
    EXPECT_TRUE(nodesOfType(irr::scene::ESNT_LIGHT).empty());
    stopHeadlessShow();

    settings.UseLighting = true;
    build(settings);
    const auto lights = nodesOfType(irr::scene::ESNT_LIGHT);
    ASSERT_EQ(lights.size(), 1u);
    auto* light = static_cast<irr::scene::ILightSceneNode*>(lights[0]);
    EXPECT_EQ(light->getRadius(), 400.0f);
    const irr::video::SColorf colour = light->getLightData().DiffuseColor;
    EXPECT_EQ(colour.r + colour.g + colour.b + colour.a, 4.0f) << "opaque white";
    EXPECT_FLOAT_EQ(circleValue(light, "Radius"), 14.0f);
    EXPECT_FLOAT_EQ(circleValue(light, "Speed"), 0.0025f);
    for (Pixel* p : swarm())
        EXPECT_TRUE(p->Node->getMaterial(0).Lighting);
}

TEST_F(SceneTest, TheCameraCirclesTheSwarmLookingAtItsCentre) {
    build(ShowSettings{});
    ASSERT_NE(Show.Camera, nullptr);
    EXPECT_EQ(Show.Camera->getTarget(), vector3df(0, 0, 0));
    EXPECT_EQ(Show.Camera->getFarValue(), 10000.0f);
    EXPECT_EQ(Show.Camera->getNearValue(), 0.1f);
    EXPECT_FLOAT_EQ(circleValue(Show.Camera, "Radius"), 140.0f);
    EXPECT_FLOAT_EQ(circleValue(Show.Camera, "Speed"), 0.0005f);
}

TEST_F(SceneTest, TheSkyBoxComesOnlyWithTheBackgroundAndThenNoClearing) {
    ShowSettings settings;
    settings.UseBackground = false;
    build(settings);
    EXPECT_TRUE(nodesOfType(irr::scene::ESNT_SKY_BOX).empty());
    EXPECT_TRUE(Show.Device.ClearBackBuffer);
    stopHeadlessShow();

    layLooseFiles();
    settings.UseBackground = true;
    build(settings);
    EXPECT_EQ(nodesOfType(irr::scene::ESNT_SKY_BOX).size(), 1u);
    EXPECT_FALSE(Show.Device.ClearBackBuffer);
}

// An untextured sky box would fill the screen with white.
TEST_F(SceneTest, WithoutItsPictureTheSkyBoxIsLeftOutAndTheFolderNamed) {
    testing::internal::CaptureStderr();
    build(ShowSettings{});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(nodesOfType(irr::scene::ESNT_SKY_BOX).empty());
    EXPECT_TRUE(Show.Device.ClearBackBuffer);
    EXPECT_EQ(ballPictures(), std::set<std::string>{"<none>"});
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(fs::canonical(Folder).string()), std::string::npos) << said;
}

TEST_F(SceneTest, TheSkyBoxLeavesTheMipMapSettingAsItFoundIt) {
    for (const bool mipMaps : {true, false}) {
        Show = ShowState{};
        Show.Device.DriverType = irr::video::EDT_NULL;
        ASSERT_TRUE(createEngineDevice());
        Show.Device.VideoDriver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, mipMaps);
        buildScene();
        EXPECT_EQ(Show.Device.VideoDriver->getTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS), mipMaps);
        stopHeadlessShow();
    }
}

TEST_F(SceneTest, HidesTheCursorUntilTheSwarmIsReleased) {
    build(ShowSettings{});
    EXPECT_FALSE(Show.Device.CursorControl->isVisible());
    releasePixels();
    EXPECT_TRUE(Show.Device.CursorControl->isVisible());
    EXPECT_EQ(Show.Pixels[0], nullptr);
}

TEST_F(SceneTest, PicturesLoadFromTheArchiveAloneOrTheLooseFilesAlone) {
    layArchive();
    build(ShowSettings{});
    EXPECT_EQ(ballPictures().count("<none>"), 0u);
    EXPECT_TRUE(skyIsTextured());
    stopHeadlessShow();

    fs::remove(Folder / "data01");
    layLooseFiles();
    build(ShowSettings{});
    EXPECT_EQ(ballPictures().count("<none>"), 0u);
    EXPECT_TRUE(skyIsTextured());
}

TEST_F(SceneTest, MissingOrCorruptPicturesLeaveTheSwarmUntextured) {
    build(ShowSettings{});
    EXPECT_EQ(ballPictures(), std::set<std::string>{"<none>"});
    stopHeadlessShow();

    write("data01", "PK\x03\x04 this is no archive");
    for (int ball = 1; ball <= 6; ++ball)
        write("data/bb_ball_0" + std::to_string(ball) + ".jpg", "\xFF\xD8\xFF truncated");
    write("data/skybox.jpg", "");
    build(ShowSettings{});
    EXPECT_EQ(ballPictures(), std::set<std::string>{"<none>"});
}

TEST_F(SceneTest, PicturesCutShortAreRefusedBeforeTheEngineReadsThem) {
    layLooseFiles();
    for (const auto& entry : fs::directory_iterator(Folder / "data"))
        fs::resize_file(entry.path(), fs::file_size(entry.path()) / 2);
    ShowSettings settings;
    build(settings);
    EXPECT_EQ(ballPictures(), std::set<std::string>{"<none>"});
    EXPECT_FALSE(skyIsTextured());
}

TEST(PictureCheck, AcceptsOnlyAWholeJpeg) {
    std::ifstream in(fs::path(std::getenv("QV_STAGE_DIR")) / "data" / "bb_ball_01.jpg", std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 100u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(whole.data());
    EXPECT_TRUE(isWholeJpeg(bytes, whole.size()));
    EXPECT_FALSE(isWholeJpeg(bytes, whole.size() / 2));
    EXPECT_FALSE(isWholeJpeg(bytes, 3));
    EXPECT_FALSE(isWholeJpeg(bytes, 0));
    const std::string garbage(500, '\x42');
    EXPECT_FALSE(isWholeJpeg(reinterpret_cast<const unsigned char*>(garbage.data()), garbage.size()));
}

namespace {

std::string blackJpeg(int width, int height) {
    const std::vector<std::uint8_t> bytes = assets::encodeJpeg(assets::Raster(width, height));
    return std::string(bytes.begin(), bytes.end());
}

bool whole(const std::string& jpeg, unsigned maxSide = kMaxPictureSide) {
    return isWholeJpeg(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), maxSide);
}

// The header claims a side the data does not hold, as a baseline (SOF0) or
// progressive (SOF2) picture; the sizes are big-endian, height first.
std::string claimingSide(std::string jpeg, unsigned side, char frame) {
    const std::size_t at = jpeg.find("\xFF\xC0");
    jpeg[at + 1] = frame;
    for (const std::size_t field : {at + 5, at + 7})
        jpeg.replace(field, 2, {static_cast<char>(side >> 8), static_cast<char>(side & 0xFF)});
    return jpeg;
}

// The engine's zip reader allocates what an entry's header claims and
// inflates into it; this entry is deflated as one stored block.
std::string zipClaiming(const std::string& name, const std::string& data, std::uint32_t claimedSize) {
    const auto length = static_cast<std::uint16_t>(data.size());
    const auto inverse = static_cast<std::uint16_t>(~length);
    const std::string block = std::string{1, static_cast<char>(length), static_cast<char>(length >> 8),
                                          static_cast<char>(inverse), static_cast<char>(inverse >> 8)} + data;
    std::vector<std::uint8_t> zip = assets::buildZip({{name, {block.begin(), block.end()}}});
    zip[8] = 8; // deflated
    for (int i = 0; i < 4; ++i)
        zip[22 + i] = static_cast<std::uint8_t>(claimedSize >> (8 * i));
    return std::string(zip.begin(), zip.end());
}

} // namespace

TEST(PictureCheck, RefusesPicturesLargerThanATextureBeforeDecodingThem) {
    EXPECT_TRUE(whole(blackJpeg(64, 64)));
    EXPECT_FALSE(whole(blackJpeg(64, 64), 32)) << "larger than the driver's textures";
    EXPECT_TRUE(whole(blackJpeg(kMaxPictureSide, 8)));
    EXPECT_FALSE(whole(blackJpeg(kMaxPictureSide + 8, 8)));
    EXPECT_FALSE(whole(claimingSide(blackJpeg(16, 16), 60000, '\xC0')));
    EXPECT_FALSE(whole(claimingSide(blackJpeg(16, 16), 20000, '\xC2')));
}

TEST_F(SceneTest, AnArchiveEntryClaimingMoreThanAPictureMayHoldIsNotInflated) {
    const std::string sky = TempConfig::readAll(stage() / "data" / "skybox.jpg");
    ShowSettings settings;
    settings.PixelsUsed = 256;
    write("data01", zipClaiming("data/skybox.jpg", sky, static_cast<std::uint32_t>(sky.size())));
    build(settings);
    EXPECT_TRUE(skyIsTextured()) << "a deflated entry of honest size loads";
    stopHeadlessShow();

    write("data01", zipClaiming("data/skybox.jpg", sky, 48u << 20));
    build(settings);
    EXPECT_FALSE(skyIsTextured());
}

TEST_F(SceneTest, AbsurdStoredSizesDistancesAndSpeedsStillGiveAShow) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    const float infinite = std::numeric_limits<float>::infinity();
    for (const float absurd : {nan, huge, -huge, infinite, -1.0f, 0.0f}) {
        ShowSettings settings;
        settings.PixelsSize = absurd;
        settings.CameraDistance = absurd;
        settings.CameraSpeed = absurd;
        settings.UseLighting = true;
        build(settings);
        for (int frame = 0; frame < 3; ++frame) {
            Show.Device.Device->run();
            Show.Device.VideoDriver->beginScene(true, true, Show.Device.ClearColor);
            EXPECT_TRUE(updateSwarm());
            Show.Device.SceneManager->drawAll();
            Show.Device.VideoDriver->endScene();
        }
        stopHeadlessShow();
    }
}
