#include "idle/single_instance.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace idle {
namespace {

constexpr std::size_t kPidText = 32;

std::string lockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    return "/tmp";
}

// Only letters, digits, '-' and '.', so that the name stays one name.
std::string tidy(std::string text) {
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.')
            c = '_';
    return text;
}

} // namespace

std::string sessionKey(const char* waylandDisplay, const char* x11Display) {
    if (waylandDisplay && *waylandDisplay) {
        std::string name = waylandDisplay;
        if (const std::size_t slash = name.rfind('/'); slash != std::string::npos)
            name = name.substr(slash + 1);
        return tidy(name);
    }
    if (x11Display && *x11Display)
        return "x11-" + tidy(x11Display[0] == ':' ? x11Display + 1 : x11Display);
    return "none";
}

SessionLock::SessionLock() {
    Path = lockFolder() + "/quorvel3d-idle-" + std::to_string(getuid()) + "-" +
           sessionKey(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY")) + ".lock";
    Fd = open(Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (Fd < 0) {
        Holder = std::string("cannot open ") + Path + ": " + std::strerror(errno);
        return;
    }
    if (flock(Fd, LOCK_EX | LOCK_NB) != 0) {
        char text[kPidText] = {};
        const ssize_t length = pread(Fd, text, sizeof text - 1, 0);
        Holder = length > 0 ? "pid " + std::string(text, static_cast<std::size_t>(length)) : "another process";
        return;
    }
    Held = true;
    const std::string pid = std::to_string(getpid());
    if (ftruncate(Fd, 0) == 0 && pwrite(Fd, pid.data(), pid.size(), 0) < 0)
        Holder.clear();
}

SessionLock::~SessionLock() {
    if (Fd >= 0)
        close(Fd);
}

} // namespace idle
