#include "platform/show_window/stop_signal.h"

#include <csignal>

namespace platform {
namespace {

volatile std::sig_atomic_t StopSignal = 0;

void noteStopSignal(int) { StopSignal = 1; }

} // namespace

// No SA_RESTART: a signal cuts a wait short.
void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool stopSignalled() { return StopSignal != 0; }

} // namespace platform
