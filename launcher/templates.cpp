#include "launcher/templates.h"

#include "ui_about_dialog.h"
#include "ui_options_dialog.h"

#include <QIcon>

namespace launcher {

namespace {

constexpr const char* kIcon16 = ":/quorvel/icon16.png";
constexpr const char* kIcon32 = ":/quorvel/icon32.png";

void buildOptions(QDialog& window) {
    Ui::OptionsDialog controls;
    controls.setupUi(&window);
}

void buildAbout(QDialog& window) {
    Ui::AboutDialog controls;
    controls.setupUi(&window);
}

} // namespace

const platform::DialogTemplate& optionsTemplate() {
    static const platform::DialogTemplate options{kOptionsTemplateId, buildOptions};
    return options;
}

const platform::DialogTemplate& aboutTemplate() {
    static const platform::DialogTemplate about{kAboutTemplateId, buildAbout};
    return about;
}

QIcon programIcon() {
    QIcon icon;
    icon.addFile(QString::fromLatin1(kIcon16));
    icon.addFile(QString::fromLatin1(kIcon32));
    return icon;
}

} // namespace launcher
