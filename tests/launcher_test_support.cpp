#include "tests/launcher_test_support.h"

#include "platform/dialog_kit/dialog.h"
#include "platform/settings_store/registry.h"
#include "settings/schema.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace testing_launcher {

namespace {

constexpr int kPollIntervalMs = 5;
// A dialog that a broken test leaves open would block the run for ever.
constexpr unsigned kHangGuardSeconds = 120;

constexpr auto kDwordType = static_cast<std::uint32_t>(platform::ValueType::Dword);
constexpr auto kTextType = static_cast<std::uint32_t>(platform::ValueType::Text);
constexpr auto kBinaryType = static_cast<std::uint32_t>(platform::ValueType::Binary);

void storeValue(const char* name, std::uint32_t type, const std::string& bytes) {
    platform::KeyHandle key = platform::createKey(schema::kKeyPath);
    ASSERT_TRUE(platform::setValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    platform::closeKey(key);
}

} // namespace

void onNextModal(std::function<void(QDialog&)> action) {
    QWidget* before = QApplication::activeModalWidget();
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, before, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == before || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(*dialog);
    });
    timer->start(kPollIntervalMs);
}

QWidget* control(const QDialog& dialog, int controlId) {
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        const QVariant id = child->property(platform::kControlIdProperty);
        if (id.isValid() && id.toInt() == controlId)
            return child;
    }
    ADD_FAILURE() << "no control " << controlId;
    return nullptr;
}

QComboBox* list(const QDialog& dialog, int controlId) {
    return qobject_cast<QComboBox*>(control(dialog, controlId));
}

QCheckBox* checkBox(const QDialog& dialog, int controlId) {
    return qobject_cast<QCheckBox*>(control(dialog, controlId));
}

QAbstractButton* button(const QDialog& dialog, int controlId) {
    return qobject_cast<QAbstractButton*>(control(dialog, controlId));
}

MessageRecorder::MessageRecorder()
    : Previous(platform::setMessageSink([this](const platform::Message& m) { Messages.push_back(m); })) {}

MessageRecorder::~MessageRecorder() { platform::setMessageSink(Previous); }

AddressRecorder::AddressRecorder()
    : Previous(platform::setAddressOpener([this](platform::Window owner, const std::string& address) {
          Owners.push_back(owner);
          Addresses.push_back(address);
      })) {}

AddressRecorder::~AddressRecorder() { platform::setAddressOpener(Previous); }

std::optional<StoredValue> stored(const char* name) {
    constexpr std::uint32_t kLargest = 4096;
    std::string bytes(kLargest, '\0');
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    platform::KeyHandle key = platform::createKey(schema::kKeyPath);
    const platform::QueryResult result = platform::queryValue(key, name, bytes.data(), kLargest, size, &type);
    platform::closeKey(key);
    if (result != platform::QueryResult::Ok)
        return std::nullopt;
    bytes.resize(size);
    return StoredValue{type, bytes};
}

std::optional<std::uint32_t> storedDword(const char* name) {
    const std::optional<StoredValue> value = stored(name);
    if (!value || value->Type != kDwordType || value->Bytes.size() != 4)
        return std::nullopt;
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = bits << 8 | static_cast<unsigned char>(value->Bytes[static_cast<std::size_t>(i)]);
    return bits;
}

void storeDword(const char* name, std::uint32_t bits) {
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(bits >> (8 * i));
    storeValue(name, kDwordType, bytes);
}

void storeText(const char* name, const std::string& text) { storeValue(name, kTextType, text + '\0'); }

void storeBinary(const char* name, const std::string& bytes) { storeValue(name, kBinaryType, bytes); }

} // namespace testing_launcher

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    alarm(testing_launcher::kHangGuardSeconds);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
