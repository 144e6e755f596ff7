#pragma once

namespace platform {

// Whether Qt can show windows: either a platform plugin that needs no X
// server was chosen, or the X display can be opened. Qt aborts the program
// when it cannot, so the launcher asks first.
bool displayAvailable();

} // namespace platform
