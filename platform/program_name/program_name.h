#pragma once

namespace platform {

// The running program's own file name, without folder or extension: what
// every message it prints starts with.
const char* programName();

} // namespace platform
