#include "platform/program_name/program_name.h"

#include <windows.h>

#include <string>

namespace platform {

const char* programName() {
    static const std::string name = [] {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string file(path, length);
        file = file.substr(file.find_last_of("\\/") + 1);
        return file.substr(0, file.find_last_of('.'));
    }();
    return name.c_str();
}

} // namespace platform
