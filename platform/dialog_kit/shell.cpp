#include "platform/dialog_kit/shell.h"

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
    openWithSystem(owner, address);
}

AddressOpener setAddressOpener(AddressOpener opener) {
    return std::exchange(currentOpener(), std::move(opener));
}

} // namespace platform
