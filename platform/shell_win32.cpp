#include "platform/shell.h"

#include <windows.h>

#include <shellapi.h>

#include <utility>

namespace platform {
namespace {

AddressOpener& currentOpener() {
    static AddressOpener opener;
    return opener;
}

} // namespace

void openAddress(Window owner, const char* address) {
    if (currentOpener()) {
        currentOpener()(owner, address);
        return;
    }
    ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWDEFAULT);
}

AddressOpener setAddressOpener(AddressOpener opener) {
    return std::exchange(currentOpener(), std::move(opener));
}

} // namespace platform
