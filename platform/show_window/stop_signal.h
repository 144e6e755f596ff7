#pragma once

namespace platform {

// SIGTERM and SIGINT are noted instead of ending the process, so that the
// show ends through its ordinary teardown with its usual exit code.
void catchStopSignals();
bool stopSignalled();

} // namespace platform
