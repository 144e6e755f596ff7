#include "platform/dialog_kit/message_box.h"

#include "platform/dialog_kit/display.h"
#include "platform/program_name/program_name.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

namespace platform {
namespace {

MessageSink& currentSink() {
    static MessageSink sink;
    return sink;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

void showBox(const Message& message) {
    QMessageBox box(boxIcon(message.Icon), QString::fromLocal8Bit(message.Caption),
                    QString::fromLocal8Bit(message.Text), QMessageBox::Ok, message.Owner);
    // A text is shown as its characters, even one that looks like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void printLine(const Message& message) {
    std::fprintf(stderr, "%s: %s\n", programName(), messageLine(message).c_str());
}

// A program that has no application object yet (the show starter) gets one
// just for the box.
void showDefault(const Message& message) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        showBox(message);
        return;
    }
    if (!displayAvailable()) {
        printLine(message);
        return;
    }
    static int argc = 1;
    static char name[] = "Quorvel3D";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    showBox(message);
}

} // namespace

void showMessage(Window owner, std::string_view text, std::string_view caption, MessageIcon icon) {
    const Message message{owner, std::string(text), std::string(caption), icon};
    if (currentSink())
        currentSink()(message);
    else
        showDefault(message);
}

MessageSink setMessageSink(MessageSink sink) {
    return std::exchange(currentSink(), std::move(sink));
}

std::string messageLine(const Message& message) {
    std::string line = message.Caption + ": " + message.Text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

} // namespace platform
