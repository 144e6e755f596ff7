#pragma once

namespace platform {

// SIGTERM and SIGINT are noted instead of ending the process, so that the
// show ends through its ordinary teardown with its usual exit code.
void catchStopSignals();
bool stopSignalled();

// The signal noted (SIGTERM or SIGINT), or 0.
int stopSignal();

// Ends the process by the signal's own action, as if it had never been
// caught: how the screen-saver daemons expect the programs they stop to end.
void endBySignal(int signal);

} // namespace platform
