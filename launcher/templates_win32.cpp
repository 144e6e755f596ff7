#include "launcher/templates.h"

#include "launcher/about_dialog.h"
#include "launcher/choice_table.h"
#include "launcher/main_dialog.h"
#include "launcher/resources/resource_ids.h"

// The dialog templates are resources of the program file (quorvel3d.rc).

namespace launcher {

static_assert(QV_IDD_OPTIONS == kOptionsTemplateId && QV_IDD_ABOUT == kAboutTemplateId);
static_assert(QV_IDC_ABOUT == kIdAboutButton);
static_assert(QV_IDC_COUNT == kIdCountList && QV_IDC_SIZE == kIdSizeList && QV_IDC_COLOR == kIdColorList &&
              QV_IDC_DISTANCE == kIdDistanceList && QV_IDC_SPEED == kIdSpeedList);
static_assert(QV_IDC_BACKGROUND == kIdBackgroundCheck && QV_IDC_LIGHTING == kIdLightingCheck);
static_assert(QV_IDC_PRODUCT_PAGE == kIdProductPageButton && QV_IDC_MAKER_PAGE == kIdMakerPageButton &&
              QV_IDC_LICENSE == kIdLicenseButton);

const platform::DialogTemplate& optionsTemplate() {
    static const platform::DialogTemplate options{kOptionsTemplateId};
    return options;
}

const platform::DialogTemplate& aboutTemplate() {
    static const platform::DialogTemplate about{kAboutTemplateId};
    return about;
}

} // namespace launcher
