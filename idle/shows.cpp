#include "idle/shows.h"

#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace idle {
namespace {

// The show starts with the signals' ordinary handling, whatever the
// runner blocks to read them from its signal descriptor.
class SpawnAttributes {
public:
    SpawnAttributes() {
        posix_spawnattr_init(&Attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&Attributes, &none);
        posix_spawnattr_setsigdefault(&Attributes, &all);
        posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&Attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    const posix_spawnattr_t* get() const { return &Attributes; }

private:
    posix_spawnattr_t Attributes;
};

std::string howItEnded(int status) {
    if (WIFEXITED(status))
        return "with exit code " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    return "with status " + std::to_string(status);
}

// What the runner asked for, or an end of the show's own with 0.
bool cleanEnd(int status, bool stopped) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status) == 0;
    return stopped && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM;
}

} // namespace

bool Shows::start(int monitors, std::string& failure) {
    const SpawnAttributes attributes;
    const int count = monitors > 1 ? monitors : 1;
    for (int monitor = 0; monitor < count; ++monitor) {
        std::string program = Program;
        std::string option = "--monitor";
        std::string number = std::to_string(monitor);
        std::vector<char*> argv = {program.data()};
        if (monitors > 1) {
            argv.push_back(option.data());
            argv.push_back(number.data());
        }
        argv.push_back(nullptr);
        pid_t process = 0;
        const int error = posix_spawn(&process, Program.c_str(), nullptr, attributes.get(), argv.data(), environ);
        if (error != 0) {
            failure = "cannot start " + Program + ": " + std::strerror(error);
            continue;
        }
        Running.push_back({process, monitor, false});
    }
    return running();
}

void Shows::stop() {
    for (Running_& show : Running) {
        if (!show.Stopped)
            kill(show.Process, SIGTERM);
        show.Stopped = true;
    }
    if (running() && !Deadline)
        Deadline = Clock::now() + kStopGrace;
}

void Shows::killStragglers(Clock::time_point now) {
    if (!Deadline || now < *Deadline)
        return;
    for (const Running_& show : Running)
        kill(show.Process, SIGKILL);
    Deadline.reset();
}

std::optional<Shows::Clock::time_point> Shows::killDeadline() const { return Deadline; }

std::vector<ShowExit> Shows::reap() {
    std::vector<ShowExit> ended;
    for (auto show = Running.begin(); show != Running.end();) {
        int status = 0;
        if (waitpid(show->Process, &status, WNOHANG) != show->Process) {
            ++show;
            continue;
        }
        ended.push_back({show->Monitor, show->Stopped, cleanEnd(status, show->Stopped), howItEnded(status)});
        show = Running.erase(show);
    }
    if (!running())
        Deadline.reset();
    return ended;
}

} // namespace idle
