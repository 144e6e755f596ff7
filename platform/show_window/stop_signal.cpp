#include "platform/show_window/stop_signal.h"

#include <csignal>

namespace platform {
namespace {

volatile std::sig_atomic_t StopSignal = 0;

void noteStopSignal(int signal) { StopSignal = signal; }

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

int stopSignal() { return StopSignal; }

void endBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace platform
