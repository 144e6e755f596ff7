#include "launcher/startup.h"

#include "launcher/main_dialog.h"
#include "launcher/templates.h"
#include "platform/dialog_kit/message_box.h"
#include "platform/dialog_kit/process.h"
#include "settings/schema.h"
#include "settings/settings_key.h"

#include <cctype>
#include <cstring>
#include <optional>

namespace launcher {

namespace {

constexpr int kExitCode = 0;
constexpr char kSwitchChar = '/';
#ifdef _WIN32
constexpr char kDirectorySeparator = '\\';
#else
constexpr char kDirectorySeparator = '/';
#endif
constexpr const char* kShowNotFound = "Executable module not found!\nPlease reinstall the application!";
constexpr const char* kErrorCaption = "Error";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Appends text to buffer[length..], never past the last byte, which stays
// the terminating zero. Gives the new length.
std::size_t appendCut(PathBuffer& buffer, std::size_t length, std::string_view text) {
    const std::size_t room = buffer.size() - 1 - length;
    const std::size_t count = text.size() < room ? text.size() : room;
    text.copy(buffer.data() + length, count);
    buffer[length + count] = '\0';
    return length + count;
}

// Copies the install directory without one trailing separator. Gives false
// when it cannot name the install directory: empty (the show would then run
// from whatever folder the launcher was started in) or too long for the
// buffer.
bool copyShowDirectory(const char* installDir, PathBuffer& buffer) {
    const std::size_t length = std::strlen(installDir);
    if (length == 0 || length >= buffer.size())
        return false;
    std::memcpy(buffer.data(), installDir, length + 1);
    if (length > 1 && buffer[length - 1] == kDirectorySeparator)
        buffer[length - 1] = '\0';
    return true;
}

void reportShowNotFound() {
    platform::showMessage(nullptr, kShowNotFound, kErrorCaption, platform::MessageIcon::Warning);
}

void configure() {
    MainDialog dialog;
    dialog.doModal(optionsTemplate(), platform::activeWindow());
}

} // namespace

std::string_view joinCommandLine(int argc, const char* const argv[], PathBuffer& buffer) {
    std::size_t length = 0;
    buffer[0] = '\0';
    const auto append = [&](std::string_view text) {
        if (length == 0) {
            while (!text.empty() && isBlank(text.front()))
                text.remove_prefix(1);
        }
        length = appendCut(buffer, length, text);
    };
    for (int index = 1; index < argc; ++index) {
        if (index > 1)
            append(" ");
        append(argv[index]);
    }
    return std::string_view(buffer.data(), length);
}

LaunchMode classify(std::string_view commandLine) {
    if (commandLine.size() < 2 || commandLine[0] != kSwitchChar)
        return LaunchMode::Configure;
    switch (std::toupper(static_cast<unsigned char>(commandLine[1]))) {
    case 'S':
        return LaunchMode::RunShow;
    case 'P':
        return LaunchMode::Preview;
    default:
        return LaunchMode::Configure;
    }
}

// The key is closed before the show starts: the show opens the same key for
// its own settings, and nothing more is read from it here.
void runShow() {
    PathBuffer buffer{};
    SettingsKey key;
    const bool fits = copyShowDirectory(key.readText(schema::kInstallDir), buffer);
    key.close();

    const std::optional<platform::ProcessHandle> show =
        fits ? platform::startProgram(kShowProgram, buffer.data()) : std::nullopt;
    if (!show) {
        reportShowNotFound();
        return;
    }
    platform::waitForExit(*show);
}

int runMode(LaunchMode mode) {
    switch (mode) {
    case LaunchMode::RunShow:
        runShow();
        break;
    case LaunchMode::Preview:
        break;
    case LaunchMode::Configure:
        configure();
        break;
    }
    return kExitCode;
}

} // namespace launcher
