#include "show/picture_check.h"

#include "show/show_state.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

// Far more than any picture of ours needs; an archive's reader inflates an
// entry whole on opening it, so its declared size is checked against this first.
constexpr long kMaxPictureBytes = 16L << 20;

struct QuietErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Escape;
    bool Warned = false;
};

void escapeOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<QuietErrors*>(info->err)->Escape, 1); }

// A warning is how the decoder reports a file that ends too early.
void noteWarning(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<QuietErrors*>(info->err)->Warned = true;
}

void ignoreMessage(j_common_ptr) {}

// The header alone says how large the picture is; one that claims more than
// a texture can hold is refused before anything is decoded.
bool decodeWhole(jpeg_decompress_struct& picture, QuietErrors& errors, const unsigned char* bytes,
                 unsigned long size, unsigned maxSide, std::vector<unsigned char>& row) {
    if (setjmp(errors.Escape))
        return false;
    jpeg_create_decompress(&picture);
    jpeg_mem_src(&picture, bytes, size);
    if (jpeg_read_header(&picture, TRUE) != JPEG_HEADER_OK || picture.image_width > maxSide ||
        picture.image_height > maxSide)
        return false;
    jpeg_start_decompress(&picture);
    row.resize(static_cast<std::size_t>(picture.output_width) * static_cast<std::size_t>(picture.output_components));
    JSAMPROW rows[1] = {row.data()};
    while (picture.output_scanline < picture.output_height)
        jpeg_read_scanlines(&picture, rows, 1);
    jpeg_finish_decompress(&picture);
    return !errors.Warned;
}

} // namespace

bool isWholeJpeg(const unsigned char* bytes, unsigned long size, unsigned maxSide) {
    if (!bytes || size == 0)
        return false;
    jpeg_decompress_struct picture{};
    QuietErrors errors{};
    picture.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = escapeOnError;
    errors.Manager.emit_message = noteWarning;
    errors.Manager.output_message = ignoreMessage;
    std::vector<unsigned char> row;
    const bool whole = decodeWhole(picture, errors, bytes, size, maxSide, row);
    jpeg_destroy_decompress(&picture);
    return whole;
}

namespace {

unsigned largestTextureSide(const irr::video::IVideoDriver& driver) {
    const irr::core::dimension2du largest = driver.getMaxTextureSize();
    unsigned side = kMaxPictureSide;
    for (const unsigned limit : {largest.Width, largest.Height})
        if (limit != 0)
            side = std::min(side, limit);
    return side;
}

// The size the first archive holding the name declares for it, as the file
// system looks in the archives before the disk; -1 when none holds it.
long declaredArchiveSize(irr::io::IFileSystem& files, const char* name) {
    for (irr::u32 i = 0; i < files.getFileArchiveCount(); ++i) {
        const irr::io::IFileList* list = files.getFileArchive(i)->getFileList();
        const irr::s32 index = list ? list->findFile(name) : -1;
        if (index >= 0)
            return static_cast<long>(list->getFileSize(static_cast<irr::u32>(index)));
    }
    return -1;
}

} // namespace

irr::video::ITexture* loadCheckedPicture(const char* name) {
    irr::video::IVideoDriver* driver = Show.Device.VideoDriver;
    if (declaredArchiveSize(*Show.Device.FileSystem, name) > kMaxPictureBytes)
        return nullptr;
    irr::io::IReadFile* file = Show.Device.FileSystem->createAndOpenFile(name);
    if (!file)
        return nullptr;
    irr::video::ITexture* texture = nullptr;
    const long size = file->getSize();
    if (size > 0 && size <= kMaxPictureBytes) {
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
        if (file->read(bytes.data(), static_cast<irr::u32>(size)) == size &&
            isWholeJpeg(bytes.data(), static_cast<unsigned long>(size), largestTextureSide(*driver)) &&
            file->seek(0))
            texture = driver->getTexture(file);
    }
    file->drop();
    return texture;
}
