#include "platform/dialog_kit/process.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// What asks us to end while a program we started runs: the program is asked
// to end too, and we end once it has.
constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kStopSignalCount = static_cast<int>(std::size(kStopSignals));
static_assert(sizeof(pid_t) <= sizeof(sig_atomic_t), "a process id is read in a signal handler");

volatile sig_atomic_t Started = 0;     // the program waited for, once its id is known
volatile sig_atomic_t StopRequest = 0; // the signal that asked us to end, if any
struct sigaction Before[kStopSignalCount];

// Only what is async-signal-safe: note the request and pass it on.
void handOnStop(int signal) {
    const int saved = errno;
    StopRequest = signal;
    if (Started > 0)
        kill(static_cast<pid_t>(Started), SIGTERM);
    errno = saved;
}

// A signal ignored when we were started (nohup) stays ignored. The program
// gets the default handling back when it is spawned.
void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = handOnStop;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kStopSignalCount; ++i) {
        sigaction(kStopSignals[i], nullptr, &Before[i]);
        if (Before[i].sa_handler != SIG_IGN)
            sigaction(kStopSignals[i], &action, nullptr);
    }
}

void restoreStopSignals() {
    for (int i = 0; i < kStopSignalCount; ++i)
        sigaction(kStopSignals[i], &Before[i], nullptr);
}

// Ends us by the signal that asked for it, as if we had not caught it.
void endByStopRequest() {
    const int signal = StopRequest;
    if (signal == 0)
        return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    _exit(128 + signal); // in case it was blocked
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Owns the spawn file actions for one start.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&Actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&Actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool changeDirectory(const char* directory) {
        return posix_spawn_file_actions_addchdir_np(&Actions, directory) == 0;
    }
    const posix_spawn_file_actions_t* get() const { return &Actions; }

private:
    posix_spawn_file_actions_t Actions;
};

} // namespace

std::optional<pid_t> startProgram(const char* fileName, const char* workingDirectory) {
    const bool hasDirectory = workingDirectory && *workingDirectory;
    SpawnActions actions;
    if (hasDirectory && !actions.changeDirectory(workingDirectory))
        return std::nullopt;

    // The child changes directory before it executes, so a program found in
    // the working directory is named relative to it. Without a directory
    // only PATH is searched: whatever folder we were started in is not a
    // place to run programs from.
    const std::string local = std::string("./") + fileName;
    const bool foundThere = hasDirectory && isExecutableFile(std::string(workingDirectory) + "/" + fileName);

    std::string programName = fileName;
    char* argv[] = {programName.data(), nullptr};
    pid_t process = 0;
    // Caught before the spawn, so that a request that comes while it runs
    // is not lost; passed on once the program's id is known.
    catchStopSignals();
    const int failure = foundThere
                            ? posix_spawn(&process, local.c_str(), actions.get(), nullptr, argv, environ)
                            : posix_spawnp(&process, fileName, actions.get(), nullptr, argv, environ);
    if (failure != 0) {
        restoreStopSignals();
        endByStopRequest();
        return std::nullopt;
    }
    Started = process;
    if (StopRequest != 0)
        kill(process, SIGTERM);
    return process;
}

// The ended program is reaped only once the handler no longer knows its id,
// so that its id cannot have gone to another process when a late signal is
// passed on.
void waitForExit(pid_t process) {
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(process), &info, WEXITED | WNOWAIT) == -1 && errno == EINTR) {
    }
    const bool ours = Started == process;
    if (ours)
        Started = 0;
    int status = 0;
    while (waitpid(process, &status, 0) == -1 && errno == EINTR) {
    }
    if (ours) {
        restoreStopSignals();
        endByStopRequest();
    }
}

} // namespace platform
