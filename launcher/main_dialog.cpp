#include "launcher/main_dialog.h"

#include "launcher/about_dialog.h"
#include "launcher/choice_table.h"
#include "launcher/templates.h"
#include "settings/settings_key.h"

namespace launcher {

namespace {

constexpr int kDialogResult = 0;
constexpr std::uint32_t kChecked = 1;
constexpr std::uint32_t kUnchecked = 0;

// A list without a valid selection saves its default; the lists are never
// left that way by the load step, so this only guards the table lookup.
std::size_t savedPosition(const ChoiceList& list, int selection) {
    if (selection < 0 || static_cast<std::size_t>(selection) >= list.Count)
        return choices::defaultPosition(list);
    return static_cast<std::size_t>(selection);
}

} // namespace

bool MainDialog::processMessage(const platform::DialogEvent& event) {
    if (event.Message == platform::DialogMessage::Init) {
        load();
        return true;
    }
    if (event.Notification != platform::kNotifyClicked)
        return false;
    switch (event.ControlId) {
    case platform::kIdOk:
        save();
        return true;
    case platform::kIdCancel:
        endDialog(kDialogResult);
        return true;
    case kIdAboutButton:
        openAbout();
        return true;
    default:
        return false;
    }
}

// A value that matches no entry (written by another tool, say) shows the
// list's default entry, so every list has a valid selection to save.
void MainDialog::load() {
    SettingsKey key;
    for (std::size_t l = 0; l < choices::kListCount; ++l) {
        const ChoiceList& list = choices::kLists[l];
        const std::uint32_t stored = key.readDword(list.ValueName, list.DefaultBits);
        for (std::size_t position = 0; position < list.Count; ++position)
            addListString(kListControlIds[l], choices::choiceAt(list, position).Label);
        const std::size_t selected =
            choices::matchingPosition(list, stored).value_or(choices::defaultPosition(list));
        setListSelection(kListControlIds[l], static_cast<int>(selected));
    }
    for (std::size_t c = 0; c < choices::kCheckCount; ++c) {
        const CheckSetting& check = choices::kChecks[c];
        setCheck(kCheckControlIds[c], choices::isSwitchedOn(key.readDword(check.ValueName, check.DefaultBits)));
    }
    centerWindow();
    key.close();
}

void MainDialog::save() {
    SettingsKey key;
    for (std::size_t l = 0; l < choices::kListCount; ++l) {
        const ChoiceList& list = choices::kLists[l];
        const std::size_t position = savedPosition(list, listSelection(kListControlIds[l]));
        key.writeDword(list.ValueName, choices::storedBits(choices::choiceAt(list, position), list.Kind));
    }
    for (std::size_t c = 0; c < choices::kCheckCount; ++c)
        key.writeDword(choices::kChecks[c].ValueName, isChecked(kCheckControlIds[c]) ? kChecked : kUnchecked);
    endDialog(kDialogResult);
    key.close();
}

void MainDialog::openAbout() {
    AboutDialog about;
    about.doModal(aboutTemplate(), platform::activeWindow());
}

} // namespace launcher
