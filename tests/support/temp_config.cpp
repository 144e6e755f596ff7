#include "tests/support/temp_config.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempConfig::TempConfig() {
    std::string pattern = (fs::temp_directory_path() / "qvtest-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    Root = pattern;
    fs::create_directories(Root / "home");
    fs::create_directories(Root / "system");
    setenv("XDG_CONFIG_HOME", (Root / "home").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (Root / "system").c_str(), 1);
}

TempConfig::~TempConfig() {
    std::error_code ignored;
    fs::permissions(Root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(Root, ignored);
}

fs::path TempConfig::userFile() const { return Root / "home" / "quorvel3d" / "settings.reg"; }
fs::path TempConfig::systemFile() const { return Root / "system" / "quorvel3d" / "settings.reg"; }

std::string TempConfig::readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void TempConfig::writeAll(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}
