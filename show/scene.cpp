#include "show/scene.h"

#include "platform/program_name/program_name.h"
#include "show/mip_maps.h"
#include "show/picture_check.h"
#include "show/show_state.h"
#include "show/swarm_node.h"
#include "show/swarm/pixel.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using irr::core::vector3df;

namespace {

constexpr const char* kArchive = "data01";
constexpr const char* kPictureFolder = "data";
constexpr const char* kSkyPicture = "data/skybox.jpg";
constexpr std::int32_t kFirstBall = 1;
constexpr std::int32_t kBallCount = 6;

const irr::video::SColorf kLightColour(1.0f, 1.0f, 1.0f, 1.0f);
constexpr float kLightRadius = 400.0f;           // world units
const vector3df kLightCircleCentre(0, 45, 0);
constexpr double kLightCircleShrink = 10.0;      // the light circles ten times closer
constexpr double kLightCircleSpeedUp = 5.0;      // and five times faster

const vector3df kCameraStart(0, 0, 0);
const vector3df kCameraLookAt(0, 0, 100);
const vector3df kCameraCircleCentre(0, 30, 0);
const vector3df kCircleAxis(0, 1, 0);
const vector3df kSwarmCentre(0, 0, 0);
constexpr float kFarPlane = 10000.0f;            // world units
constexpr float kNearPlane = 0.1f;               // world units

// "data/bb_ball_01.jpg" to "data/bb_ball_06.jpg"; any other setting draws a
// picture for each pixel.
std::string ballPicture(std::int32_t colour) {
    const std::int32_t ball =
        colour >= kFirstBall && colour <= kBallCount ? colour : randomBelow(kBallCount) + kFirstBall;
    return "data/bb_ball_0" + std::to_string(ball) + ".jpg";
}

// Each picture is checked and loaded once, however many pixels show it.
// The driver could make the mip-maps of the balls' pictures itself, but a
// software renderer compiles a program for that on its first use, which
// was most of the show's start; the same mip-maps are made here instead.
class Pictures {
public:
    explicit Pictures(irr::video::IVideoDriver& driver) : Driver(driver) {
        Driver.disableFeature(irr::video::EVDF_MIP_MAP_AUTO_UPDATE, true);
    }
    ~Pictures() { Driver.disableFeature(irr::video::EVDF_MIP_MAP_AUTO_UPDATE, false); }
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    irr::video::ITexture* get(const std::string& name) {
        auto found = Loaded.find(name);
        if (found == Loaded.end()) {
            irr::video::ITexture* texture = loadCheckedPicture(name.c_str());
            if (texture)
                fillMipMaps(*texture);
            found = Loaded.emplace(name, texture).first;
        }
        return found->second;
    }

    // One line names the folder and what it lacks: without its pictures the
    // show is plain and dark, and nothing else would say why.
    void reportMissing() const {
        std::string missing;
        for (const auto& [name, texture] : Loaded)
            if (!texture)
                missing += (missing.empty() ? "" : ", ") + name;
        if (missing.empty())
            return;
        std::error_code error;
        const std::string folder = std::filesystem::current_path(error).string();
        std::fprintf(stderr,
                     "%s: the folder '%s' lacks usable pictures in %s and %s/ (%s); going on without them\n",
                     platform::programName(), folder.c_str(), kArchive, kPictureFolder, missing.c_str());
    }

private:
    irr::video::IVideoDriver& Driver;
    std::map<std::string, irr::video::ITexture*> Loaded;
};

void addPixels(Pictures& pictures) {
    const ShowSettings& settings = Show.Settings;
    for (std::size_t j = 0; j < swarm().size(); ++j) {
        auto* pixel = new Pixel;
        Show.Pixels[j] = pixel;
        const std::string picture = ballPicture(settings.PixelsColor);
        if (!pixel->Node)
            continue;
        pixel->Node->setSize(irr::core::dimension2df(settings.PixelsSize, settings.PixelsSize));
        pixel->Node->setMaterialTexture(0, pictures.get(picture));
        pixel->Node->setMaterialFlag(irr::video::EMF_LIGHTING, settings.UseLighting);
    }
}

// One node draws the whole swarm; the billboards stay in the scene, hidden.
void addSwarmNode() {
    std::vector<irr::scene::IBillboardSceneNode*> billboards;
    billboards.reserve(swarm().size());
    for (Pixel* pixel : swarm())
        billboards.push_back(pixel->Node);
    auto* node = new SwarmNode(Show.Device.SceneManager, billboards);
    Show.SwarmDrawing = node;
    node->drop(); // the scene keeps its own reference
}

void circle(irr::scene::ISceneNode* node, const vector3df& centre, float radius, float speed) {
    irr::scene::ISceneManager* scene = Show.Device.SceneManager;
    if (!node)
        return;
    irr::scene::ISceneNodeAnimator* flight = scene->createFlyCircleAnimator(centre, radius, speed, kCircleAxis);
    node->addAnimator(flight);
    flight->drop(); // the node keeps its own reference
}

void addLight() {
    const ShowSettings& settings = Show.Settings;
    irr::scene::ILightSceneNode* light =
        Show.Device.SceneManager->addLightSceneNode(nullptr, vector3df(0, 0, 0), kLightColour, kLightRadius, -1);
    circle(light, kLightCircleCentre, static_cast<float>(settings.CameraDistance / kLightCircleShrink),
           static_cast<float>(settings.CameraSpeed * kLightCircleSpeedUp));
}

void addCamera() {
    const ShowSettings& settings = Show.Settings;
    Show.Camera = Show.Device.SceneManager->addCameraSceneNode(nullptr, kCameraStart, kCameraLookAt, -1);
    if (!Show.Camera)
        return;
    circle(Show.Camera, kCameraCircleCentre, settings.CameraDistance, settings.CameraSpeed);
    Show.Camera->setTarget(kSwarmCentre);
    Show.Camera->setFarValue(kFarPlane);
    Show.Camera->setNearValue(kNearPlane);
}

// Mip-maps would blur the sky's faces at their seams, so they are made
// without; the driver's setting is put back afterwards. Without its picture
// the sky box would be a glaring white cube, so the background stays black.
void addSkyBox(Pictures& pictures) {
    irr::video::IVideoDriver* driver = Show.Device.VideoDriver;
    const bool mipMaps = driver->getTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS);
    driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, false);
    if (irr::video::ITexture* sky = pictures.get(kSkyPicture)) {
        Show.Device.SceneManager->addSkyBoxSceneNode(sky, sky, sky, sky, sky, sky, nullptr, -1);
        Show.Device.ClearBackBuffer = false; // the sky covers the whole view
    }
    driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, mipMaps);
}

} // namespace

void buildScene() {
    Show.Device.FileSystem->addFileArchive(kArchive, true, false, irr::io::EFAT_ZIP);
    Pictures pictures(*Show.Device.VideoDriver);
    addPixels(pictures);
    addSwarmNode();
    if (Show.Settings.UseLighting)
        addLight();
    addCamera();
    if (Show.Settings.UseBackground)
        addSkyBox(pictures);
    Show.Device.CursorControl->setVisible(false);
    pictures.reportMissing();
}

void drawSwarm(SwarmDrawing how) {
    if (Show.SwarmDrawing)
        Show.SwarmDrawing->drawInOnePass(how == SwarmDrawing::OnePass);
}
