#include "launcher/startup.h"

#include <windows.h>

#include <commctrl.h>

// The screen-saver entry: the system passes /s, /p or /c in the command line.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    InitCommonControls();
    launcher::PathBuffer buffer{};
    const char* const arguments[] = {"", commandLine ? commandLine : ""};
    return launcher::runMode(launcher::classify(launcher::joinCommandLine(2, arguments, buffer)));
}
