#pragma once

// Helpers for the launcher's tests: driving modal dialogs on the offscreen
// platform, catching message boxes and browser hand-offs, and looking into
// the settings store.

#include "platform/dialog_kit/message_box.h"
#include "platform/dialog_kit/shell.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;

namespace testing_launcher {

// Runs action on the next modal dialog that opens, once it is on screen.
void onNextModal(std::function<void(QDialog&)> action);

// The control of a shown dialog with the given id; fails the test if missing.
QWidget* control(const QDialog& dialog, int controlId);
QComboBox* list(const QDialog& dialog, int controlId);
QCheckBox* checkBox(const QDialog& dialog, int controlId);
QAbstractButton* button(const QDialog& dialog, int controlId);

// Collects message boxes instead of showing them, while it lives.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<platform::Message> Messages;

private:
    platform::MessageSink Previous;
};

// Collects the addresses handed to the browser, while it lives.
class AddressRecorder {
public:
    AddressRecorder();
    ~AddressRecorder();
    std::vector<std::string> Addresses;
    std::vector<platform::Window> Owners;

private:
    platform::AddressOpener Previous;
};

struct StoredValue {
    std::uint32_t Type = 0;
    std::string Bytes;
};

// What the settings key holds under name, or nothing.
std::optional<StoredValue> stored(const char* name);
std::optional<std::uint32_t> storedDword(const char* name);
void storeDword(const char* name, std::uint32_t bits);
void storeText(const char* name, const std::string& text);
void storeBinary(const char* name, const std::string& bytes);

} // namespace testing_launcher
