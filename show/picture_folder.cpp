#include "show/picture_folder.h"

#include <system_error>

namespace {

bool holdsPictures(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / "data01", error) ||
           std::filesystem::is_directory(folder / "data", error);
}

} // namespace

std::optional<std::filesystem::path> firstPictureFolder(const std::vector<std::filesystem::path>& candidates) {
    for (const std::filesystem::path& folder : candidates)
        if (!folder.empty() && holdsPictures(folder))
            return folder;
    return std::nullopt;
}
