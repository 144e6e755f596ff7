// quorvel3d: the show as a screen-saver daemon's program.
//
//   quorvel3d --root              into $XSCREENSAVER_WINDOW, else the root window
//   quorvel3d --window-id 0x...   into that window (a settings preview)
//   quorvel3d                     in its own full-screen window, as qvshow
//
// Inside a given window the daemon keeps the input; the show ends with 0 on
// SIGTERM or SIGINT and when the window goes away.

#include "platform/program_name/program_name.h"
#include "settings/schema.h"
#include "settings/settings_key.h"
#include "show/picture_folder.h"
#include "show/show.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace {

constexpr const char* kHostVariable = "XSCREENSAVER_WINDOW";
constexpr const char* kInstallFolder = QV_INSTALL_FOLDER;
constexpr unsigned long kLargestWindowId = 0x1FFFFFFFUL; // X resource ids have 29 bits
constexpr int kUsageError = 1;

void printUsage() {
    std::fprintf(stderr, "usage: %s [--root | --window-id 0xWINDOW]\n", platform::programName());
}

// A window id as the daemons write it (0x...), or in decimal.
std::optional<unsigned long> parseWindowId(const char* text) {
    if (!text || *text < '0' || *text > '9')
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long id = std::strtoul(text, &end, 0);
    if (errno != 0 || *end != '\0' || id == 0 || id > kLargestWindowId)
        return std::nullopt;
    return id;
}

bool isOption(const char* arg, const char* name) {
    return std::strcmp(arg, name) == 0 || (arg[0] == '-' && std::strcmp(arg + 1, name) == 0);
}

std::optional<ShowPlace> placeFromArguments(int argc, char** argv) {
    ShowPlace place;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (isOption(arg, "--root")) {
            place.Where = ShowPlace::Kind::RootWindow;
            if (const char* host = std::getenv(kHostVariable)) {
                const auto id = parseWindowId(host);
                if (!id) {
                    std::fprintf(stderr, "%s: %s='%s' is not a window id\n", platform::programName(), kHostVariable,
                                 host);
                    return std::nullopt;
                }
                place.Where = ShowPlace::Kind::HostWindow;
                place.HostWindow = *id;
            }
        } else if (isOption(arg, "--window-id")) {
            const auto id = parseWindowId(i + 1 < argc ? argv[++i] : nullptr);
            if (!id) {
                std::fprintf(stderr, "%s: --window-id wants a window id such as 0x1e00007\n", platform::programName());
                return std::nullopt;
            }
            place.Where = ShowPlace::Kind::HostWindow;
            place.HostWindow = *id;
        } else {
            std::fprintf(stderr, "%s: unknown option '%s'\n", platform::programName(), arg);
            return std::nullopt;
        }
    }
    return place;
}

std::filesystem::path ownFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::filesystem::path recordedInstallFolder() {
    SettingsKey key;
    const std::string folder = key.readText(schema::kInstallDir);
    key.close();
    return folder;
}

// Daemons start their programs in the user's home or in "/"; the pictures
// are elsewhere. Where none of the folders holds them, the show starts where
// it is and says what it lacks.
void enterPictureFolder() {
    const auto folder = firstPictureFolder({recordedInstallFolder(), kInstallFolder, ownFolder()});
    if (folder && chdir(folder->c_str()) != 0)
        std::fprintf(stderr, "%s: cannot enter %s: %s\n", platform::programName(), folder->c_str(),
                     std::strerror(errno));
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<ShowPlace> place = placeFromArguments(argc, argv);
    if (!place) {
        printUsage();
        return kUsageError;
    }
    enterPictureFolder();
    return runShow(*place);
}
