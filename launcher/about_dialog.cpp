#include "launcher/about_dialog.h"

#include "launcher/licence.h"
#include "platform/dialog_kit/message_box.h"
#include "platform/dialog_kit/shell.h"
#include "settings/schema.h"
#include "settings/settings_key.h"

namespace launcher {

namespace {

constexpr int kDialogResult = 0;
constexpr const char* kLicenceCaption = "License";
constexpr const char* kErrorCaption = "Error";
constexpr const char* kLicenceNotFound = "License file not found!\nPlease reinstall the application!";

} // namespace

bool AboutDialog::processMessage(const platform::DialogEvent& event) {
    if (event.Message == platform::DialogMessage::Init) {
        centerWindow();
        return true;
    }
    if (event.Notification != platform::kNotifyClicked)
        return false;
    switch (event.ControlId) {
    case platform::kIdCancel:
        endDialog(kDialogResult);
        return true;
    case kIdProductPageButton:
        platform::openAddress(window(), kProductHomePage);
        return true;
    case kIdMakerPageButton:
        platform::openAddress(window(), kMakerHomePage);
        return true;
    case kIdLicenseButton:
        showLicence();
        return true;
    default:
        return false;
    }
}

void AboutDialog::showLicence() {
    SettingsKey key;
    const std::optional<std::string> text = readLicence(key.readText(schema::kInstallDir));
    if (text)
        platform::showMessage(window(), *text, kLicenceCaption, platform::MessageIcon::Information);
    else
        platform::showMessage(window(), kLicenceNotFound, kErrorCaption, platform::MessageIcon::Error);
    key.close();
}

} // namespace launcher
