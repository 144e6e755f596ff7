#include "platform/show_window/stop_signal.h"

#include <csignal>

namespace platform {
namespace {

volatile std::sig_atomic_t StopSignal = 0;

void noteStopSignal(int) { StopSignal = 1; }

} // namespace

void catchStopSignals() {
    std::signal(SIGTERM, noteStopSignal);
    std::signal(SIGINT, noteStopSignal);
}

bool stopSignalled() { return StopSignal != 0; }

} // namespace platform
