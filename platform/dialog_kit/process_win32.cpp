#include "platform/dialog_kit/process.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

// The shell looks for the program in the working directory first. Its own
// error box ("File not found.") is turned off: the caller reports a failed
// start in words of its own, and the user should read one message, not two.
std::optional<ProcessHandle> startProgram(const char* fileName, const char* workingDirectory) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = fileName;
    info.lpDirectory = workingDirectory && *workingDirectory ? workingDirectory : nullptr;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info))
        return std::nullopt;
    return info.hProcess;
}

// A start that gave no process (the shell handed the file on) has nothing
// to wait for.
void waitForExit(ProcessHandle process) {
    if (!process)
        return;
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
}

} // namespace platform
