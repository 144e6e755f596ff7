#include "launcher/templates.h"

#include "launcher/about_dialog.h"
#include "launcher/choice_table.h"
#include "launcher/main_dialog.h"
#include "ui_about_dialog.h"
#include "ui_options_dialog.h"

#include <QIcon>

namespace launcher {

namespace {

constexpr const char* kIcon16 = ":/quorvel/icon16.png";
constexpr const char* kIcon32 = ":/quorvel/icon32.png";

// The templates name their controls; the ids come from resource_ids.h, as
// on Windows, and a control missing from a template does not compile.
void bind(QWidget* control, int id) { control->setProperty(platform::kControlIdProperty, id); }

void buildOptions(QDialog& window) {
    Ui::OptionsDialog controls;
    controls.setupUi(&window);
    bind(controls.okButton, platform::kIdOk);
    bind(controls.cancelButton, platform::kIdCancel);
    bind(controls.aboutButton, kIdAboutButton);
    bind(controls.countList, kIdCountList);
    bind(controls.sizeList, kIdSizeList);
    bind(controls.colorList, kIdColorList);
    bind(controls.distanceList, kIdDistanceList);
    bind(controls.speedList, kIdSpeedList);
    bind(controls.backgroundCheck, kIdBackgroundCheck);
    bind(controls.lightingCheck, kIdLightingCheck);
}

void buildAbout(QDialog& window) {
    Ui::AboutDialog controls;
    controls.setupUi(&window);
    bind(controls.closeButton, platform::kIdCancel);
    bind(controls.productPageButton, kIdProductPageButton);
    bind(controls.makerPageButton, kIdMakerPageButton);
    bind(controls.licenseButton, kIdLicenseButton);
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
