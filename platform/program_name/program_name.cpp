#include "platform/program_name/program_name.h"

#include <errno.h>

namespace platform {

const char* programName() { return program_invocation_short_name; }

} // namespace platform
