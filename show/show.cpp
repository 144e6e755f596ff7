#include "show/show.h"

#include "platform/program_name/program_name.h"
#include "platform/show_window/own_window_watch.h"
#include "platform/show_window/screen.h"
#include "platform/show_window/show_window.h"
#include "platform/show_window/show_window_embedded.h"
#include "platform/show_window/stop_signal.h"
#include "show/engine_clock.h"
#include "show/frame_pacer.h"
#include "show/frame_rate.h"
#include "show/game_event_receiver.h"
#include "show/game_map.h"
#include "show/scene.h"
#include "show/seed.h"
#include "show/show_state.h"
#include "show/swarm/pixel.h"
#include "show/swarm/scheduler.h"

#include <cstdio>
#include <memory>
#include <thread>

namespace {

constexpr const wchar_t* kWindowCaption = L"Quorvel 3D";
constexpr int kIdleWakeMs = 250; // an idle show looks at signals this often at least

// What one run of the show holds beside ShowState: the X connection kept
// open from start to end, the host's window when the show draws inside
// another program's or what the display says of its own window, how frames
// are paced, and what the command line chose.
struct ShowRun {
    ShowPlace Place;
    RunChoices Choices;
    FrameRateMeter FrameRate;
    EngineClock Clock;
    std::unique_ptr<platform::DisplayConnection> Connection;
    std::unique_ptr<platform::EmbeddedWindow> Host;
    std::unique_ptr<platform::OwnWindowWatch> Watch;
    bool DriverWaitsForVsync = false;
    bool FrameShown = false; // the window has had content once
    std::optional<platform::ScreenArea> Monitor; // the one monitor the window covers, if asked
    std::optional<double> RefreshHertz;
    irr::core::dimension2du ViewSize;
};
ShowRun Run;

bool embedded() { return Run.Host != nullptr; }

void fetchEngineInterfaces(DeviceParams& d) {
    d.SceneManager = d.Device->getSceneManager();
    d.VideoDriver = d.Device->getVideoDriver();
    d.GuiEnvironment = d.Device->getGUIEnvironment();
    d.FileSystem = d.Device->getFileSystem();
    d.CursorControl = d.Device->getCursorControl();
}

// Where the engine makes an ordinary window (on X11 always, so that it
// neither grabs the input nor switches video modes), the window layer makes
// it cover the display. A show inside another program's window leaves that
// window's frame, placement and focus to its owner.
void finishWindow(const DeviceParams& d) {
    if (d.DriverType != platform::screenDriver())
        return; // the null driver has no window
    if (embedded()) {
        Run.Host->shareWithEngine(*d.VideoDriver);
    } else {
        d.Device->setWindowCaption(kWindowCaption); // names the window for window lists and tools
        if (d.Fullscreen && Run.Monitor)
            platform::coverArea(*d.VideoDriver, *Run.Monitor);
        else if (d.Fullscreen)
            platform::coverDisplay(*d.VideoDriver, d.Width, d.Height);
        if (Run.Watch)
            Run.Watch->watchWindow(platform::engineWindowHandle(*d.VideoDriver));
        if (Run.Watch && d.Fullscreen && !Run.Monitor)
            Run.Watch->claimFocusAtStart(); // shows on several monitors draw without it
    }
    Run.DriverWaitsForVsync = d.Vsync && (platform::vsyncAtCreation() || platform::enableVsync(*d.VideoDriver));
    Run.ViewSize = d.VideoDriver->getScreenSize();
}

// The camera keeps the proportions of the window it draws into, which may
// change under a show drawn in another program's window.
void followViewSize(const DeviceParams& d) {
    const irr::core::dimension2du size = d.VideoDriver->getScreenSize();
    if (size == Run.ViewSize || size.Width == 0 || size.Height == 0)
        return;
    Run.ViewSize = size;
    if (Show.Camera)
        Show.Camera->setAspectRatio(static_cast<irr::f32>(size.Width) / static_cast<irr::f32>(size.Height));
}

// The monitor of the number asked for, as the display has it now.
std::optional<platform::ScreenArea> monitorAsked() {
    const std::vector<platform::ScreenArea> monitors = Run.Connection->monitors();
    const auto index = static_cast<std::size_t>(Run.Place.Monitor.value_or(-1));
    if (!Run.Place.Monitor || index >= monitors.size())
        return std::nullopt;
    return monitors[index];
}

// The primary display's area now, or the monitor's the show covers.
platform::ScreenArea coveredArea() {
    if (Run.Monitor) {
        if (const auto monitor = monitorAsked())
            Run.Monitor = monitor;
        return *Run.Monitor;
    }
    const platform::ScreenSize size = Run.Connection->primaryScreenSize();
    return platform::ScreenArea{0, 0, size.Width, size.Height};
}

// A press that went to another window, one that took the focus or a
// locker's, ends the show as one on its own window does; a screen that
// changed size is covered again.
void takeOwnWindowNews(const DeviceParams& d) {
    if (!Run.Watch)
        return;
    Run.Watch->update();
    if (Run.Watch->pressed())
        Show.QuitRequested = true;
    if (Run.Watch->takeScreenChange() && d.Fullscreen)
        platform::resizeCover(*d.VideoDriver, coveredArea());
}

bool shouldEnd() {
    if (platform::stopSignalled())
        return true;
    if (!embedded())
        return false;
    Run.Host->update();
    return Run.Host->hostGone();
}

// The show draws while somebody can see it: its own window while it is
// active and neither covered nor blanked (one show of several, one on each
// monitor, whether or not it has the focus, which only one can have),
// another program's window while that is shown.
bool seen(const DeviceParams& d) {
    if (embedded())
        return Run.Host->hostVisible();
    if (Run.Watch && Run.Watch->hidden())
        return false;
    return d.Device->isWindowActive() || d.DrawWhenInactive || Run.Monitor.has_value();
}

int newsFd() {
    if (embedded())
        return Run.Host->connectionFd();
    return Run.Watch ? Run.Watch->connectionFd() : -1;
}

// The swarm stands still while nobody sees it, and the process sleeps until
// the window system has news for it.
void idle(const DeviceParams& d) {
    if (!platform::waitForEvents(*d.VideoDriver, newsFd(), kIdleWakeMs))
        d.Device->yield();
}

void waitForNextFrame(FramePacer& pacer) {
    if (!Run.DriverWaitsForVsync)
        std::this_thread::sleep_until(pacer.nextStart(FramePacer::Clock::now()));
}

// The scene as it stands, the swarm not moved: some compositors (sway's
// XWayland) show a window, and give it the focus, only once it has content.
void presentStill(DeviceParams& d) {
    d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
    d.SceneManager->drawAll();
    d.VideoDriver->endScene();
    Run.FrameShown = true;
}

bool renderFrame(DeviceParams& d) {
    d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
    if (!updateSwarm())
        return false; // this frame is neither drawn nor ended
    Run.FrameShown = true;
    d.SceneManager->drawAll();
    d.GuiEnvironment->drawAll();
    if (Run.Choices.ShowFrameRate) {
        Run.FrameRate.frameDrawn(FrameRateMeter::Clock::now());
        drawCornerText(d, Run.FrameRate.text());
    }
    d.VideoDriver->endScene(); // no other target window, the whole frame
    return true;
}

// The monitor asked for, when there is one of that number.
void chooseMonitor(DeviceParams& d) {
    Run.Monitor = monitorAsked();
    if (!Run.Monitor)
        return;
    d.Width = Run.Monitor->Width;
    d.Height = Run.Monitor->Height;
}

bool monitorMissing() { return Run.Place.Monitor && !Run.Monitor; }

} // namespace

void prepareShow() {
    Show.Settings = withOverrides(loadSettings(), Run.Choices.Overrides);
    Show.Settings.PixelsUsed = clampPixelCount(Show.Settings.PixelsUsed);
    Show.Random.seed(chooseSeed());
    DeviceParams& d = Show.Device;
    Run.Connection = std::make_unique<platform::DisplayConnection>();
    if (Run.Connection->isOpen()) {
        const platform::ScreenSize screen = Run.Connection->primaryScreenSize();
        d.Width = screen.Width;
        d.Height = screen.Height;
        Run.RefreshHertz = Run.Connection->refreshRate();
        if (Run.Place.Where != ShowPlace::Kind::OwnWindow) {
            const unsigned long host = Run.Place.Where == ShowPlace::Kind::HostWindow ? Run.Place.HostWindow
                                                                                      : Run.Connection->rootWindow();
            Run.Host = std::make_unique<platform::EmbeddedWindow>(*Run.Connection, host,
                                                                  platform::EngineVisualRequest{});
            d.Width = Run.Host->width();
            d.Height = Run.Host->height();
        } else {
            Run.Watch = std::make_unique<platform::OwnWindowWatch>(*Run.Connection);
            chooseMonitor(d);
        }
    }
    d.Fullscreen = !embedded();
    d.DriverType = platform::screenDriver();
    d.ClearColor = irr::video::SColor(DeviceParams::kShowClearColor);
}

bool createEngineDevice() {
    DeviceParams& d = Show.Device;
    irr::SIrrlichtCreationParameters params;
    params.DriverType = d.DriverType;
    params.WindowSize = irr::core::dimension2du(static_cast<irr::u32>(d.Width), static_cast<irr::u32>(d.Height));
    params.Bits = static_cast<irr::u8>(d.Bits);
    params.Fullscreen = d.Fullscreen && platform::engineMakesFullscreen();
    params.Stencilbuffer = false;
    params.Vsync = d.Vsync && d.DriverType == platform::screenDriver() && platform::vsyncAtCreation();
    params.EventReceiver = d.Receiver;
    params.LoggingLevel = irr::ELL_NONE; // the show keeps quiet
    if (embedded()) {
        if (!Run.Host->isOpen())
            return false;
        params.WindowId = Run.Host->engineWindowId();
        params.IgnoreInput = true; // the window's owner keeps the input
    }
    d.Device = irr::createDeviceEx(params);
    if (!d.Device)
        return false;
    fetchEngineInterfaces(d);
    finishWindow(d);
    return true;
}

// A quit request ends the show whether or not it is drawing: a show whose
// window never became active would otherwise never read it.
void runFrameLoop() {
    DeviceParams& d = Show.Device;
    FramePacer pacer(Run.RefreshHertz);
    Run.Clock.start(*d.Device->getTimer(), EngineClock::cameraTurn(Show.Settings.CameraSpeed));
    while (d.Device->run() && !shouldEnd()) {
        Run.Clock.tick();
        takeOwnWindowNews(d);
        followViewSize(d);
        if (seen(d)) {
            if (!renderFrame(d))
                return;
            waitForNextFrame(pacer);
        } else if (Show.QuitRequested) {
            return;
        } else if (!Run.FrameShown && !embedded()) {
            presentStill(d);
        } else {
            idle(d);
            Run.FrameRate.restart();
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
// while the device closes. The engine leaves open the connection it opened
// for a window it was handed; the window layer closes it once the engine is
// done.
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
        if (embedded())
            Run.Host->closeEngineConnection();
    }
    delete d.Receiver;
    d.Receiver = nullptr;
    Run.Host.reset();
    Run.Watch.reset();
    Run.Connection.reset();
}

ShowEnd runShow(ShowPlace place, RunChoices choices) {
    Show.Device = DeviceParams{};
    Run = ShowRun{};
    Run.Place = place;
    Run.Choices = choices;
    platform::catchStopSignals();
    prepareShow();
    Show.Device.Receiver = new GameEventReceiver;
    Show.Device.Map = new GameMap;
    ShowEnd end = ShowEnd::Ran;
    if (Run.Connection->isOpen() && monitorMissing()) {
        std::fprintf(stderr, "%s: the display has no monitor %d (it has %zu, numbered from 0)\n",
                     platform::programName(), *Run.Place.Monitor, Run.Connection->monitors().size());
        end = ShowEnd::NoMonitor;
    } else if (createEngineDevice()) {
        buildScene();
        runFrameLoop();
    } else if (!Run.Connection->isOpen()) {
        std::fprintf(stderr, "%s: cannot open the X display; nothing to show\n", platform::programName());
        end = ShowEnd::NoWindow;
    } else if (embedded() && !Run.Host->isOpen()) {
        end = ShowEnd::HostUnusable; // the window's own message has been given
    } else {
        std::fprintf(stderr, "%s: cannot open a %dx%d %s window on this display; nothing to show\n",
                     platform::programName(), Show.Device.Width, Show.Device.Height, platform::screenDriverName());
        end = embedded() ? ShowEnd::HostUnusable : ShowEnd::NoWindow;
    }
    teardown();
    return end;
}

namespace {

// A tool's picture depends on the engine's clock, which the camera and the
// light circle by: a windowed tool show builds its scene with the clock
// stopped at 0, so that the same seed and the same times give the same
// pictures.
bool startToolShow(const ShowSettings& settings, std::uint32_t seed, irr::video::E_DRIVER_TYPE driver, int width,
                   int height, bool stopClock) {
    Show = ShowState{};
    Run = ShowRun{};
    Show.Settings = settings;
    Show.Settings.PixelsUsed = clampPixelCount(settings.PixelsUsed);
    Show.Random.seed(seed);
    Show.Device.DriverType = driver;
    Show.Device.Width = width;
    Show.Device.Height = height;
    Show.Device.Vsync = false;
    Show.Device.ClearColor = irr::video::SColor(DeviceParams::kShowClearColor);
    Show.Device.Receiver = new GameEventReceiver;
    Show.Device.Map = new GameMap;
    if (!createEngineDevice()) {
        teardown();
        return false;
    }
    if (stopClock) {
        Show.Device.Device->getTimer()->stop();
        Show.Device.Device->getTimer()->setTime(0);
    }
    buildScene();
    return true;
}

} // namespace

bool startHeadlessShow(const ShowSettings& settings, std::uint32_t seed) {
    return startToolShow(settings, seed, irr::video::EDT_NULL, DeviceParams{}.Width, DeviceParams{}.Height, false);
}

bool startWindowedShow(const ShowSettings& settings, std::uint32_t seed, int width, int height) {
    return startToolShow(settings, seed, platform::screenDriver(), width, height, true);
}

void stopHeadlessShow() {
    teardown();
    Show = ShowState{};
}
