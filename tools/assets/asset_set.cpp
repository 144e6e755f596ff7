#include "tools/assets/asset_set.h"

#include "tools/assets/ball_picture.h"
#include "tools/assets/jpeg_encoder.h"
#include "tools/assets/sky_picture.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace assets {
namespace {

constexpr const char* kPartialSuffix = ".part";

std::runtime_error writeError(const std::filesystem::path& path, int error) {
    return std::runtime_error("cannot write " + path.string() + ": " +
                              std::error_code(error, std::generic_category()).message());
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* raw = std::fopen(path.c_str(), "wb");
    if (!raw)
        throw writeError(path, errno);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(raw, std::fclose);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw writeError(path, errno);
    // fclose flushes, so its result is the last word on whether the bytes landed.
    if (std::fclose(file.release()) != 0)
        throw writeError(path, errno);
}

void writeReplacing(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::path partial = path;
    partial += kPartialSuffix;
    try {
        writeBytes(partial, bytes);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw;
    }
    std::filesystem::rename(partial, path);
}

} // namespace

std::string ballPicturePath(int number) { return "data/bb_ball_0" + std::to_string(number) + ".jpg"; }

std::vector<ZipEntry> drawAssetSet() {
    std::vector<ZipEntry> pictures;
    for (int i = 0; i < kBallCount; ++i)
        pictures.push_back({ballPicturePath(i + 1), encodeJpeg(drawBall(kBallColours[i]))});
    pictures.push_back({kSkyPicturePath, encodeJpeg(drawSky())});
    return pictures;
}

void writeAssetSet(const std::filesystem::path& outdir) {
    const std::vector<ZipEntry> pictures = drawAssetSet();
    for (const ZipEntry& picture : pictures)
        writeReplacing(outdir / picture.name, picture.data);
    writeReplacing(outdir / kArchiveName, buildZip(pictures));
}

} // namespace assets
