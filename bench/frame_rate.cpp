// qvframerate [--per-node | --bare] [--frames N] [--pixels N] [--color C] [--no-sky] [--data DIR]
// Draws a fixed number of frames on the current display with vsync off and
// prints the frame rate: the show's own scene; with --per-node the same
// scene with every billboard drawn by its own node, as the engine draws
// them; with --bare a plain engine loop drawing as many billboards and the
// same sky, for comparison.

#include "platform/show_window/screen.h"
#include "show/game_event_receiver.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/scheduler.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

struct Options {
    bool Bare = false;
    bool PerNode = false;
    int Frames = 600;
    int Pixels = 4096;
    bool Sky = true;
    int Color = 0;
    std::string Data = ".";
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bare")
            options.Bare = true;
        else if (arg == "--per-node")
            options.PerNode = true;
        else if (arg == "--no-sky")
            options.Sky = false;
        else if (arg == "--frames" && hasValue)
            options.Frames = std::atoi(argv[++i]);
        else if (arg == "--color" && hasValue)
            options.Color = std::atoi(argv[++i]);
        else if (arg == "--pixels" && hasValue)
            options.Pixels = std::atoi(argv[++i]);
        else if (arg == "--data" && hasValue)
            options.Data = argv[++i];
    }
    return options;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time of the calling thread: the show's own, without the
// driver's rasteriser threads.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The frame rate, and what the scene really held (read back from it, not
// from the options).
struct Figures {
    double FramesPerSecond = 0;
    double MainThreadMs = 0; // of processor time a frame
    std::size_t Billboards = 0;
    bool SkyBox = false;
    irr::core::dimension2du ViewSize;
};

std::size_t nodesOfType(irr::scene::ISceneManager& scene, irr::scene::ESCENE_NODE_TYPE type) {
    irr::core::array<irr::scene::ISceneNode*> nodes;
    scene.getSceneNodesFromType(type, nodes);
    return nodes.size();
}

void readScene(irr::IrrlichtDevice& device, Figures& figures) {
    irr::scene::ISceneManager& scene = *device.getSceneManager();
    figures.Billboards = nodesOfType(scene, irr::scene::ESNT_BILLBOARD);
    figures.SkyBox = nodesOfType(scene, irr::scene::ESNT_SKY_BOX) > 0;
    figures.ViewSize = device.getVideoDriver()->getScreenSize();
}

// The show's own start-up, with vsync off and drawing whether or not the
// window has the focus.
Figures showFrameRate(const Options& options) {
    Show = ShowState{};
    Show.Settings.PixelsUsed = options.Pixels;
    Show.Settings.UseBackground = options.Sky;
    Show.Settings.PixelsColor = options.Color;
    Show.Random.seed(1);
    if (const auto screen = platform::primaryScreenSize()) {
        Show.Device.Width = screen->Width;
        Show.Device.Height = screen->Height;
    }
    Show.Device.Fullscreen = true;
    Show.Device.Vsync = false;
    Show.Device.ClearColor = irr::video::SColor(DeviceParams::kShowClearColor);
    if (!createEngineDevice())
        return {};
    buildScene();
    drawSwarm(options.PerNode ? SwarmDrawing::NodeByNode : SwarmDrawing::OnePass);
    DeviceParams& d = Show.Device;
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = threadSeconds();
    for (int frame = 0; frame < options.Frames && d.Device->run(); ++frame) {
        d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
        updateSwarm();
        d.SceneManager->drawAll();
        d.GuiEnvironment->drawAll();
        d.VideoDriver->endScene();
    }
    Figures figures;
    figures.FramesPerSecond = options.Frames / secondsSince(start);
    figures.MainThreadMs = (threadSeconds() - startCpu) * 1e3 / options.Frames;
    readScene(*d.Device, figures);
    teardown();
    return figures;
}

// The same billboards, pictures and sky drawn by a plain engine loop: no
// swarm updates, no animators, nothing of the show's own.
Figures bareFrameRate(const Options& options) {
    constexpr int kBalls = 6;
    constexpr float kSpacing = 10.0f; // world units between billboards
    constexpr int kRow = 16;
    const auto screen = platform::primaryScreenSize().value_or(platform::ScreenSize{800, 600});
    irr::SIrrlichtCreationParameters params;
    params.DriverType = irr::video::EDT_OPENGL;
    params.WindowSize = irr::core::dimension2du(static_cast<irr::u32>(screen.Width), static_cast<irr::u32>(screen.Height));
    params.LoggingLevel = irr::ELL_NONE;
    irr::IrrlichtDevice* device = irr::createDeviceEx(params);
    if (!device)
        return {};
    irr::scene::ISceneManager* scene = device->getSceneManager();
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    device->getFileSystem()->addFileArchive("data01", true, false, irr::io::EFAT_ZIP);
    for (int i = 0; i < options.Pixels; ++i) {
        const irr::core::vector3df at(static_cast<float>(i % kRow) * kSpacing - 80,
                                      static_cast<float>(i / kRow % kRow) * kSpacing - 80,
                                      static_cast<float>(i / (kRow * kRow)) * kSpacing - 80);
        auto* node = scene->addBillboardSceneNode(nullptr, irr::core::dimension2df(2, 2), at);
        node->setMaterialType(irr::video::EMT_TRANSPARENT_ADD_COLOR);
        node->setMaterialFlag(irr::video::EMF_LIGHTING, false);
        const std::string ball = "data/bb_ball_0" + std::to_string(i % kBalls + 1) + ".jpg";
        node->setMaterialTexture(0, driver->getTexture(ball.c_str()));
    }
    if (options.Sky) {
        driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, false);
        irr::video::ITexture* sky = driver->getTexture("data/skybox.jpg");
        scene->addSkyBoxSceneNode(sky, sky, sky, sky, sky, sky);
    }
    scene->addCameraSceneNode(nullptr, irr::core::vector3df(0, 30, -140), irr::core::vector3df(0, 0, 0));
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = threadSeconds();
    for (int frame = 0; frame < options.Frames && device->run(); ++frame) {
        driver->beginScene(!options.Sky, true, irr::video::SColor(0xFF000000));
        scene->drawAll();
        driver->endScene();
    }
    Figures figures;
    figures.FramesPerSecond = options.Frames / secondsSince(start);
    figures.MainThreadMs = (threadSeconds() - startCpu) * 1e3 / options.Frames;
    readScene(*device, figures);
    device->drop();
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    std::error_code ignored;
    std::filesystem::current_path(options.Data, ignored);
    const Figures figures = options.Bare ? bareFrameRate(options) : showFrameRate(options);
    if (figures.FramesPerSecond <= 0) {
        std::fprintf(stderr, "qvframerate: no OpenGL window could be opened\n");
        return 1;
    }
    const char* what = options.Bare ? "bare engine loop" : options.PerNode ? "show scene, node by node" : "show scene";
    std::printf("%s: %d frames, %ux%u, %zu billboards, %s: %.1f frames per second; main thread %.2f ms of "
                "processor time a frame\n",
                what, options.Frames, figures.ViewSize.Width, figures.ViewSize.Height, figures.Billboards,
                figures.SkyBox ? "sky box" : "no sky box", figures.FramesPerSecond, figures.MainThreadMs);
    return 0;
}
