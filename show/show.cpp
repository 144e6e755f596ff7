#include "show/show.h"

#include "platform/screen.h"
#include "platform/show_window.h"
#include "show/game_event_receiver.h"
#include "show/game_map.h"
#include "show/scene.h"
#include "show/seed.h"
#include "show/show_state.h"
#include "show/swarm/pixel.h"
#include "show/swarm/scheduler.h"

#include <cstdio>

namespace {

constexpr int kExitCode = 0; // the show ends with 0 whatever happens
constexpr const wchar_t* kWindowCaption = L"Quorvel 3D";

void fetchEngineInterfaces(DeviceParams& d) {
    d.SceneManager = d.Device->getSceneManager();
    d.VideoDriver = d.Device->getVideoDriver();
    d.GuiEnvironment = d.Device->getGUIEnvironment();
    d.FileSystem = d.Device->getFileSystem();
    d.CursorControl = d.Device->getCursorControl();
}

// The engine only runs windowed where it cannot switch video modes; the
// window manager is asked to make that window cover the display instead.
// Vsync is turned on here, not by the engine, because some GLX drivers
// answer the engine's request with an error that ends the process.
void finishWindow(const DeviceParams& d) {
    if (d.DriverType != irr::video::EDT_OPENGL)
        return;
    d.Device->setWindowCaption(kWindowCaption); // names the window for window lists and tools
    const irr::video::SExposedVideoData& video = d.VideoDriver->getExposedVideoData();
    platform::coverDisplay(video.OpenGLLinux.X11Display, video.OpenGLLinux.X11Window, d.Width, d.Height);
    if (d.Vsync)
        platform::enableVsync(video.OpenGLLinux.X11Display, video.OpenGLLinux.X11Window);
}

bool renderFrame(DeviceParams& d) {
    d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
    if (!updateSwarm())
        return false; // this frame is neither drawn nor ended
    d.SceneManager->drawAll();
    d.GuiEnvironment->drawAll();
    d.VideoDriver->endScene(); // no other target window, the whole frame
    return true;
}

} // namespace

void prepareShow() {
    Show.Settings = loadSettings();
    Show.Settings.PixelsUsed = clampPixelCount(Show.Settings.PixelsUsed);
    Show.Random.seed(chooseSeed());
    DeviceParams& d = Show.Device;
    if (const auto screen = platform::primaryScreenSize()) {
        d.Width = screen->Width;
        d.Height = screen->Height;
    }
    d.Fullscreen = true;
    d.DriverType = irr::video::EDT_OPENGL;
    d.ClearColor = irr::video::SColor(DeviceParams::kShowClearColor);
}

bool createEngineDevice() {
    DeviceParams& d = Show.Device;
    irr::SIrrlichtCreationParameters params;
    params.DriverType = d.DriverType;
    params.WindowSize = irr::core::dimension2du(static_cast<irr::u32>(d.Width), static_cast<irr::u32>(d.Height));
    params.Bits = static_cast<irr::u8>(d.Bits);
    params.Fullscreen = d.Fullscreen;
    params.Stencilbuffer = false;
    params.Vsync = false; // see finishWindow
    params.EventReceiver = d.Receiver;
    params.LoggingLevel = irr::ELL_NONE; // the show keeps quiet
    d.Device = irr::createDeviceEx(params);
    if (!d.Device)
        return false;
    fetchEngineInterfaces(d);
    finishWindow(d);
    return true;
}

void runFrameLoop() {
    DeviceParams& d = Show.Device;
    while (d.Device->run()) {
        if (d.Device->isWindowActive() || d.DrawWhenInactive) {
            if (!renderFrame(d))
                return;
        } else {
            d.Device->yield(); // the swarm stands still while nobody sees it
        }
    }
}

void releasePixels() {
    for (std::size_t j = 0; j < swarm().size(); ++j) {
        delete Show.Pixels[j];
        Show.Pixels[j] = nullptr;
    }
    if (Show.Device.CursorControl)
        Show.Device.CursorControl->setVisible(true);
}

// The receiver outlives the device: the engine may still hand it events
// while the device closes.
void teardown() {
    DeviceParams& d = Show.Device;
    releasePixels();
    delete d.Map;
    d.Map = nullptr;
    if (d.Device) {
        d.Device->closeDevice();
        d.Device->run(); // lets the engine take the window down
        d.Device->drop();
        d.Device = nullptr;
    }
    delete d.Receiver;
    d.Receiver = nullptr;
}

int runShow() {
    Show.Device = DeviceParams{};
    prepareShow();
    Show.Device.Receiver = new GameEventReceiver;
    Show.Device.Map = new GameMap;
    if (createEngineDevice()) {
        buildScene();
        runFrameLoop();
    } else if (!platform::primaryScreenSize()) {
        std::fprintf(stderr, "qvshow: cannot open the X display; nothing to show\n");
    } else {
        std::fprintf(stderr, "qvshow: cannot open a %dx%d OpenGL window on this display; nothing to show\n",
                     Show.Device.Width, Show.Device.Height);
    }
    teardown();
    return kExitCode;
}

bool startHeadlessShow(const ShowSettings& settings, std::uint32_t seed) {
    Show = ShowState{};
    Show.Settings = settings;
    Show.Settings.PixelsUsed = clampPixelCount(settings.PixelsUsed);
    Show.Random.seed(seed);
    Show.Device.DriverType = irr::video::EDT_NULL;
    Show.Device.Receiver = new GameEventReceiver;
    Show.Device.Map = new GameMap;
    if (!createEngineDevice()) {
        teardown();
        return false;
    }
    buildScene();
    return true;
}

void stopHeadlessShow() {
    teardown();
    Show = ShowState{};
}
