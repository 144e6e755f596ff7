#include "platform/dialog_kit/message_box.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace platform {
namespace {

MessageSink& currentSink() {
    static MessageSink sink;
    return sink;
}

UINT boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Warning:
        return MB_ICONWARNING;
    case MessageIcon::Error:
        return MB_ICONERROR;
    }
    return 0;
}

} // namespace

void showMessage(Window owner, std::string_view text, std::string_view caption, MessageIcon icon) {
    const Message message{owner, std::string(text), std::string(caption), icon};
    if (currentSink()) {
        currentSink()(message);
        return;
    }
    MessageBoxA(owner, message.Text.c_str(), message.Caption.c_str(), MB_OK | boxIcon(icon));
}

MessageSink setMessageSink(MessageSink sink) { return std::exchange(currentSink(), std::move(sink)); }

std::string messageLine(const Message& message) {
    std::string line = message.Caption + ": " + message.Text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

} // namespace platform
