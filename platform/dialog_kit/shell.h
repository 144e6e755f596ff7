#pragma once

// Handing a web address to the user's browser.

#include "platform/dialog_kit/dialog.h"

#include <functional>
#include <string>

namespace platform {

using AddressOpener = std::function<void(Window owner, const std::string& address)>;

// Opens the address with the desktop's opener; failures are not reported.
void openAddress(Window owner, const char* address);

// Sends every later address to opener; an empty one restores the desktop's.
// Gives the opener that was in place.
AddressOpener setAddressOpener(AddressOpener opener);

// The system's own opener, which openAddress uses when no other is set.
void openWithSystem(Window owner, const char* address);

} // namespace platform
