#include "show/picture_check.h"

#include "show/show_state.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

constexpr long kMaxPictureBytes = 64L << 20;

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

bool decodeWhole(jpeg_decompress_struct& picture, QuietErrors& errors, const unsigned char* bytes,
                 unsigned long size, std::vector<unsigned char>& row) {
    if (setjmp(errors.Escape))
        return false;
    jpeg_create_decompress(&picture);
    jpeg_mem_src(&picture, bytes, size);
    if (jpeg_read_header(&picture, TRUE) != JPEG_HEADER_OK)
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

bool isWholeJpeg(const unsigned char* bytes, unsigned long size) {
    if (!bytes || size == 0)
        return false;
    jpeg_decompress_struct picture{};
    QuietErrors errors{};
    picture.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = escapeOnError;
    errors.Manager.emit_message = noteWarning;
    errors.Manager.output_message = ignoreMessage;
    std::vector<unsigned char> row;
    const bool whole = decodeWhole(picture, errors, bytes, size, row);
    jpeg_destroy_decompress(&picture);
    return whole;
}

irr::video::ITexture* loadCheckedPicture(const char* name) {
    irr::video::IVideoDriver* driver = Show.Device.VideoDriver;
    irr::io::IReadFile* file = Show.Device.FileSystem->createAndOpenFile(name);
    if (!file)
        return nullptr;
    irr::video::ITexture* texture = nullptr;
    const long size = file->getSize();
    if (size > 0 && size <= kMaxPictureBytes) {
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
        if (file->read(bytes.data(), static_cast<irr::u32>(size)) == size &&
            isWholeJpeg(bytes.data(), static_cast<unsigned long>(size)) && file->seek(0))
            texture = driver->getTexture(file);
    }
    file->drop();
    return texture;
}
