#include "show/hack_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kHostVariable = "XSCREENSAVER_WINDOW";

bool isOption(const char* arg, const char* name) {
    return std::strcmp(arg, name) == 0 || (arg[0] == '-' && std::strcmp(arg + 1, name) == 0);
}

} // namespace

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

std::optional<ShowPlace> hackPlace(int argc, const char* const argv[], const char* hostWindow,
                                   std::string& problem) {
    ShowPlace place;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (isOption(arg, "--root")) {
            place.Where = ShowPlace::Kind::RootWindow;
            if (hostWindow) {
                const auto id = parseWindowId(hostWindow);
                if (!id) {
                    problem = std::string(kHostVariable) + "='" + hostWindow + "' is not a window id";
                    return std::nullopt;
                }
                place.Where = ShowPlace::Kind::HostWindow;
                place.HostWindow = *id;
            }
        } else if (isOption(arg, "--window-id")) {
            const auto id = parseWindowId(i + 1 < argc ? argv[++i] : nullptr);
            if (!id) {
                problem = "--window-id wants a window id such as 0x1e00007";
                return std::nullopt;
            }
            place.Where = ShowPlace::Kind::HostWindow;
            place.HostWindow = *id;
        } else {
            problem = std::string("unknown option '") + arg + "'";
            return std::nullopt;
        }
    }
    return place;
}
