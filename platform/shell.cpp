#include "platform/shell.h"

#include <QDesktopServices>
#include <QUrl>

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
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}

AddressOpener setAddressOpener(AddressOpener opener) {
    return std::exchange(currentOpener(), std::move(opener));
}

} // namespace platform
