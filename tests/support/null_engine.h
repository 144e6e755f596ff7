#pragma once

// The engine on its null driver, without a window, mounting archives and
// loading pictures the way the show does.

#include <irrlicht.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class NullEngine {
public:
    NullEngine() : Device(irr::createDevice(irr::video::EDT_NULL)) { Device->getLogger()->setLogLevel(irr::ELL_NONE); }
    ~NullEngine() { Device->drop(); }
    NullEngine(const NullEngine&) = delete;
    NullEngine& operator=(const NullEngine&) = delete;

    // Ignoring case but keeping paths, as the show mounts "data01".
    bool mount(const char* archive) { return files().addFileArchive(archive, true, false, irr::io::EFAT_ZIP); }

    irr::io::IFileSystem& files() { return *Device->getFileSystem(); }
    irr::video::IVideoDriver& driver() { return *Device->getVideoDriver(); }

    bool loadsTexture(const std::string& name) { return driver().getTexture(name.c_str()) != nullptr; }

    // The bytes of a file as the engine's file system sees it, or nothing.
    std::optional<std::vector<std::uint8_t>> read(const std::string& name) {
        irr::io::IReadFile* file = files().createAndOpenFile(name.c_str());
        if (!file)
            return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file->getSize()));
        const irr::s32 got = file->read(bytes.data(), static_cast<irr::u32>(bytes.size()));
        file->drop();
        if (got != static_cast<irr::s32>(bytes.size()))
            return std::nullopt;
        return bytes;
    }

private:
    irr::IrrlichtDevice* Device;
};
