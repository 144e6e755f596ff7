#include "launcher/templates.h"

// The dialog templates are resources of the program file (quorvel3d.rc),
// which names their controls by the ids of resource_ids.h.

namespace launcher {

const platform::DialogTemplate& optionsTemplate() {
    static const platform::DialogTemplate options{kOptionsTemplateId};
    return options;
}

const platform::DialogTemplate& aboutTemplate() {
    static const platform::DialogTemplate about{kAboutTemplateId};
    return about;
}

} // namespace launcher
