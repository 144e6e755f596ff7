#include "platform/dialog_kit/shell.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

void openWithSystem(Window owner, const char* address) {
    ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWDEFAULT);
}

} // namespace platform
