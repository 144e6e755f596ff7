// quorvel3d: the show as a screen-saver daemon's program.
//
//   quorvel3d --root              into $XSCREENSAVER_WINDOW, else the root window
//   quorvel3d --window-id 0x...   into that window (a settings preview)
//   quorvel3d                     in its own full-screen window, as qvshow
//   quorvel3d --monitor N         the same on monitor N, one show of several
//   quorvel3d --help              the options that choose settings for one run
//
// Inside a given window the daemon keeps the input; the show ends when the
// window goes away (with 0) or on SIGTERM or SIGINT, by that signal once it
// has torn down: the daemon counts any other end of a program it stopped as
// abnormal. A window it cannot draw into at all (gone, not a window, not
// one to draw in) ends it with 1 at once, as a wrong command line does.

#include "platform/program_name/program_name.h"
#include "platform/show_window/stop_signal.h"
#include "settings/schema.h"
#include "settings/settings_key.h"
#include "show/hack_options.h"
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
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

namespace {

constexpr const char* kHostVariable = "XSCREENSAVER_WINDOW";
constexpr const char* kInstallFolder = QV_INSTALL_FOLDER;
constexpr int kUsageError = 1;
constexpr int kNothingDrawn = 1; // the window it was handed, or the monitor named, cannot be drawn on

std::variant<HackOptions, HackOptionsError> readCommandLine(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const char* host = std::getenv(kHostVariable);
    return parseHackOptions(args, host ? std::optional<std::string_view>(host) : std::nullopt);
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
    const auto parsed = readCommandLine(argc, argv);
    if (const auto* failure = std::get_if<HackOptionsError>(&parsed)) {
        std::fprintf(stderr, "%s: %s (--help lists the options)\n", platform::programName(),
                     failure->Message.c_str());
        return kUsageError;
    }
    HackOptions options = std::get<HackOptions>(parsed);
    if (options.HelpWanted) {
        std::fputs(hackUsage(platform::programName()).c_str(), stdout);
        return 0;
    }
    enterPictureFolder();
    const ShowEnd end = runShow(options.Place, options.Choices);
    if (const int signal = platform::stopSignal()) {
        std::fflush(nullptr); // what the show printed is out first
        platform::endBySignal(signal);
    }
    return end == ShowEnd::HostUnusable || end == ShowEnd::NoMonitor ? kNothingDrawn : 0;
}
