#include "platform/dialog_kit/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

void openWithSystem(Window, const char* address) { QDesktopServices::openUrl(QUrl(QString::fromLatin1(address))); }

} // namespace platform
