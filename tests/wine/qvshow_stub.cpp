// Stands in for the show when the launcher is tested: writes the folder it
// was started in to qvshow-started.txt there, then runs until a file named
// qvshow-release appears beside it, so that a test can see the launcher wait.

#include <windows.h>

#include <cstdio>

namespace {

constexpr DWORD kPollStep = 100;      // milliseconds
constexpr DWORD kLongestRun = 120000; // milliseconds; a forgotten stub ends by itself
constexpr const char* kStartedFile = "qvshow-started.txt";
constexpr const char* kReleaseFile = "qvshow-release";

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    if (std::FILE* file = std::fopen(kStartedFile, "w")) {
        std::fputs(folder, file);
        std::fclose(file);
    }
    for (DWORD waited = 0; waited < kLongestRun && !exists(kReleaseFile); waited += kPollStep)
        Sleep(kPollStep);
    return 0;
}
