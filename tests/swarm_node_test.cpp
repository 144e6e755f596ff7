#include "show/mip_maps.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/pixel.h"
#include "show/swarm/scheduler.h"
#include "show/swarm_node.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSeed = 20261209;
constexpr int kWidth = 480;  // pixels
constexpr int kHeight = 270; // pixels
constexpr int kFramesBeforeLooking = 400; // the swarm is under way by then
constexpr int kMostLevelsOff = 5;         // of 255 (2 %): each blend of overlapping balls rounds
constexpr int kMostMipLevelsOff = 2;      // drivers round their averages each their own way
constexpr int kBallContrast = 16;         // levels a ball adds to what lies behind it
constexpr std::int32_t kOnePicture = 4;
constexpr std::int32_t kRandomPictures = 0;
constexpr std::size_t kPictures = 6;

// The show's pictures come from the installation laid out by the build.
class SwarmNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Previous = fs::current_path();
        fs::current_path(std::getenv("QV_STAGE_DIR"));
    }
    void TearDown() override {
        stopHeadlessShow();
        if (!Previous.empty())
            fs::current_path(Previous);
    }

    static ShowSettings settings(std::int32_t pixels, std::int32_t colour) {
        ShowSettings s;
        s.PixelsUsed = pixels;
        s.PixelsColor = colour;
        s.UseBackground = false;
        return s;
    }

    // Primitives the driver was asked to draw in one whole frame.
    static irr::u32 primitivesOfOneFrame() {
        DeviceParams& d = Show.Device;
        const irr::u32 before = d.VideoDriver->getPrimitiveCountDrawn(2);
        d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
        d.SceneManager->drawAll();
        d.VideoDriver->endScene();
        return d.VideoDriver->getPrimitiveCountDrawn(2) - before;
    }

    fs::path Previous;
};

TEST_F(SwarmNodeTest, DrawsEveryBallInOneCallPerPictureInUse) {
    for (const auto& [colour, calls] : {std::pair{kOnePicture, std::size_t{1}}, {kRandomPictures, kPictures}}) {
        ASSERT_TRUE(startHeadlessShow(settings(1024, colour), kSeed));
        updateSwarm();
        EXPECT_EQ(primitivesOfOneFrame(), 2u * 1024u) << "two triangles a ball, colour " << colour;
        EXPECT_EQ(Show.SwarmDrawing->drawCallsOfLastFrame(), calls) << "colour " << colour;
        stopHeadlessShow();
    }
}

TEST_F(SwarmNodeTest, TheBillboardsStayInTheSceneHiddenAndFollowTheirPixels) {
    ASSERT_TRUE(startHeadlessShow(settings(256, kRandomPictures), kSeed));
    for (int frame = 0; frame < 10; ++frame)
        updateSwarm();
    for (Pixel* p : swarm()) {
        EXPECT_FALSE(p->Node->isVisible());
        EXPECT_EQ(p->Node->getParent(), Show.Device.SceneManager->getRootSceneNode());
        EXPECT_EQ(p->Node->getPosition(), p->Position);
    }

    drawSwarm(SwarmDrawing::NodeByNode);
    primitivesOfOneFrame();
    EXPECT_EQ(Show.SwarmDrawing->drawCallsOfLastFrame(), 0u);
    for (Pixel* p : swarm())
        EXPECT_TRUE(p->Node->isVisible());
}

// On the OpenGL driver, which needs a display: tests/e2e/swarm_drawing.sh
// runs these cases under Xvfb.
class OnScreenTest : public SwarmNodeTest {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        SwarmNodeTest::SetUp();
    }

    // Draws the scene as it stands and reads the back buffer before the swap.
    static std::vector<std::uint8_t> drawFrame() {
        DeviceParams& d = Show.Device;
        d.Device->run();
        d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
        d.SceneManager->drawAll();
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        d.VideoDriver->endScene();
        return rgb;
    }
};

// The same frame drawn both ways.
class SwarmPictureTest : public OnScreenTest,
                         public ::testing::WithParamInterface<std::tuple<bool, std::int32_t, bool>> {};

TEST_P(SwarmPictureTest, DrawsTheSamePixelsAsTheEnginesBillboardsOneByOne) {
    const auto [lighting, colour, sky] = GetParam();
    ShowSettings s = settings(4096, colour);
    s.UseLighting = lighting;
    s.UseBackground = sky;
    ASSERT_TRUE(startWindowedShow(s, kSeed, kWidth, kHeight));
    Show.Device.Device->getTimer()->stop(); // the camera and the light stand still between the two pictures
    for (int frame = 0; frame < kFramesBeforeLooking; ++frame)
        updateSwarm();

    // The engine sets every render state afresh for a device's first frame;
    // after that it only changes what a material changes.
    drawSwarm(SwarmDrawing::NodeByNode);
    const std::vector<std::uint8_t> nodeByNode = drawFrame();
    drawSwarm(SwarmDrawing::OnePass);
    const std::vector<std::vector<std::uint8_t>> onePass = {drawFrame(), drawFrame()};
    Show.SwarmDrawing->setVisible(false);
    const std::vector<std::uint8_t> noSwarm = drawFrame();

    for (const std::vector<std::uint8_t>& frame : onePass) {
        int worst = 0;
        for (std::size_t i = 0; i < frame.size(); ++i)
            worst = std::max(worst, std::abs(int{frame[i]} - int{nodeByNode[i]}));
        EXPECT_LE(worst, kMostLevelsOff);
    }
    std::size_t balls = 0;
    for (std::size_t i = 0; i < noSwarm.size(); ++i)
        balls += std::abs(int{nodeByNode[i]} - int{noSwarm[i]}) > kBallContrast;
    EXPECT_GT(balls, noSwarm.size() / 200) << "the balls show in the picture";
}

// The driver's own mip-maps of a ball's picture, made from the texture's
// top level, against the ones the show makes.
TEST_F(OnScreenTest, TheBallsMipMapsAreTheOnesTheDriverWouldMake) {
    ASSERT_TRUE(startWindowedShow(settings(256, kOnePicture), kSeed, kWidth, kHeight));
    irr::video::ITexture* ball = Show.Pixels[0]->Node->getMaterial(0).getTexture(0);
    ASSERT_NE(ball, nullptr);
    const irr::core::dimension2du size = ball->getSize();
    const auto* top = static_cast<const std::uint8_t*>(ball->lock(irr::video::ETLM_READ_ONLY, 0));
    ASSERT_NE(top, nullptr);
    const std::vector<std::uint8_t> ours = mipChain(top, size.Width, size.Height);

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(size.Width), static_cast<GLsizei>(size.Height), 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, top);
    ball->unlock();
    std::vector<std::uint8_t> drivers(ours.size());
    std::size_t offset = 0;
    for (GLint level = 1; offset < drivers.size(); ++level) {
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        ASSERT_GT(width * height, 0) << "level " << level;
        glGetTexImage(GL_TEXTURE_2D, level, GL_BGRA, GL_UNSIGNED_BYTE, drivers.data() + offset);
        offset += static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    }
    glDeleteTextures(1, &name);
    ASSERT_EQ(offset, ours.size());

    int worst = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
        worst = std::max(worst, std::abs(int{ours[i]} - int{drivers[i]}));
    EXPECT_LE(worst, kMostMipLevelsOff);
}

INSTANTIATE_TEST_SUITE_P(OnScreen, SwarmPictureTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(kOnePicture, kRandomPictures),
                                            ::testing::Bool()));

} // namespace
