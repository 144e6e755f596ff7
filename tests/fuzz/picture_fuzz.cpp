// A fuzzed picture file loaded the way the scene loads its pictures, on the
// null driver: the check first, then the engine's own JPEG reader. Nothing
// but a whole JPEG of a size a texture can hold reaches the engine.

#include "show/picture_check.h"
#include "tests/fuzz/show_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::startShowOnce();
    const std::filesystem::path folder = fuzz::freshFolder("picture");
    fuzz::writeFile(folder / "data" / "skybox.jpg", fuzz::bytes(data, size));
    {
        const fuzz::Visit visit(folder);
        const irr::video::ITexture* texture = loadCheckedPicture("data/skybox.jpg");
        if (texture) {
            fuzz::require(isWholeJpeg(data, size), "only a whole JPEG becomes a texture");
            const irr::core::dimension2du side = texture->getOriginalSize();
            fuzz::require(side.Width <= kMaxPictureSide && side.Height <= kMaxPictureSide,
                          "no texture is larger than the show allows");
        }
    }
    fuzz::forgetInput();
    return 0;
}
