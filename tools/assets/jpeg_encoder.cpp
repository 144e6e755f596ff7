#include "tools/assets/jpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace assets {
namespace {

// libjpeg reports fatal errors through a callback that must not return; it
// jumps back to encodeInto, which gives up the encoder and reports failure.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void useFullChromaResolution(jpeg_compress_struct& info) {
    for (int i = 0; i < info.num_components; ++i) {
        info.comp_info[i].h_samp_factor = 1;
        info.comp_info[i].v_samp_factor = 1;
    }
}

// Only plain data lives in this frame, so the jump out of libjpeg skips no
// destructors; the encoder's state belongs to the caller, so it stays valid
// after the jump. Gives false with the message filled in on failure.
bool encodeInto(jpeg_compress_struct& info, ErrorManager& errors, const Raster& picture, int quality,
                unsigned char** out, unsigned long* outSize) {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = Raster::kChannels;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    useFullChromaResolution(info);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * Raster::kChannels;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.bytes().data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::vector<std::uint8_t> encodeJpeg(const Raster& picture, int quality) {
    if (picture.width() <= 0 || picture.height() <= 0)
        throw std::runtime_error("cannot encode an empty picture");
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool encoded = encodeInto(info, errors, picture, quality, &buffer, &size);
    std::vector<std::uint8_t> result;
    if (encoded)
        result.assign(buffer, buffer + size);
    std::free(buffer); // jpeg_mem_dest's buffer is ours to free, even after a failure
    if (!encoded)
        throw std::runtime_error(std::string("JPEG encoding failed: ") + errors.message);
    return result;
}

} // namespace assets
