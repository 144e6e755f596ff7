#include "platform/dialog_kit/process.h"

#include <cerrno>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

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
    const int failure = foundThere
                            ? posix_spawn(&process, local.c_str(), actions.get(), nullptr, argv, environ)
                            : posix_spawnp(&process, fileName, actions.get(), nullptr, argv, environ);
    if (failure != 0)
        return std::nullopt;
    return process;
}

void waitForExit(pid_t process) {
    int status = 0;
    while (waitpid(process, &status, 0) == -1 && errno == EINTR) {
    }
}

} // namespace platform
