// A fuzzed archive "data01" mounted the way the scene mounts it, on the null
// driver, and each of the show's pictures loaded from it: nothing but a
// whole JPEG, declared no larger than a picture may be, reaches the engine.

#include "show/picture_check.h"
#include "show/scene.h"
#include "tests/fuzz/show_engine.h"

#include <string>

namespace {

constexpr const char* kPictures[] = {"data/bb_ball_01.jpg", "data/bb_ball_02.jpg", "data/bb_ball_03.jpg",
                                     "data/bb_ball_04.jpg", "data/bb_ball_05.jpg", "data/bb_ball_06.jpg",
                                     "data/skybox.jpg"};

// The entry's bytes as the engine's file system gives them.
std::string entryBytes(const char* name) {
    irr::io::IReadFile* file = Show.Device.FileSystem->createAndOpenFile(name);
    if (!file)
        return {};
    std::string bytes(static_cast<std::size_t>(std::max(0L, file->getSize())), '\0');
    bytes.resize(static_cast<std::size_t>(std::max(0, file->read(bytes.data(), static_cast<irr::u32>(bytes.size())))));
    file->drop();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::startShowOnce();
    const std::filesystem::path folder = fuzz::freshFolder("archive");
    fuzz::writeFile(folder / "data01", fuzz::bytes(data, size));
    {
        const fuzz::Visit visit(folder);
        mountPictureArchive();
        for (const char* name : kPictures) {
            if (!loadCheckedPicture(name))
                continue;
            const std::string bytes = entryBytes(name);
            fuzz::require(isWholeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
                          "only a whole JPEG in the archive becomes a texture");
        }
    }
    fuzz::forgetInput();
    return 0;
}
