#pragma once

#include <irrlicht.h>

#include <cstdint>

class GameEventReceiver;
class GameMap;

// The engine device's creation parameters, the per-frame clear options and
// the engine interfaces fetched from the device.
struct DeviceParams {
    static constexpr std::uint32_t kStartClearColor = 0xFF647896;
    static constexpr std::uint32_t kShowClearColor = 0xFF000000; // opaque black

    std::int32_t Bits = 32;
    std::int32_t Width = 800;  // pixels
    std::int32_t Height = 600; // pixels
    irr::video::E_DRIVER_TYPE DriverType = irr::video::EDT_OPENGL; // until the screen's driver is chosen
    bool Fullscreen = false;
    bool Vsync = true;
    bool ClearZBuffer = true;
    bool ClearBackBuffer = true;
    irr::video::SColor ClearColor{kStartClearColor};
    bool DrawWhenInactive = false;

    irr::IrrlichtDevice* Device = nullptr; // owned: one reference, dropped at teardown
    irr::video::IVideoDriver* VideoDriver = nullptr;
    irr::scene::ISceneManager* SceneManager = nullptr;
    irr::gui::ICursorControl* CursorControl = nullptr;
    irr::gui::IGUIEnvironment* GuiEnvironment = nullptr;
    irr::io::IFileSystem* FileSystem = nullptr;
    GameEventReceiver* Receiver = nullptr; // owned
    GameMap* Map = nullptr;                // owned
};
