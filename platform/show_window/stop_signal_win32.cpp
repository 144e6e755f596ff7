#include "platform/show_window/stop_signal.h"

#include <csignal>

namespace platform {
namespace {

volatile std::sig_atomic_t StopSignal = 0;

void noteStopSignal(int signal) { StopSignal = signal; }

} // namespace

void catchStopSignals() {
    std::signal(SIGTERM, noteStopSignal);
    std::signal(SIGINT, noteStopSignal);
}

bool stopSignalled() { return StopSignal != 0; }

int stopSignal() { return StopSignal; }

void endBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace platform
