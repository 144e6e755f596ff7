// quorvel3d-idle: runs the screen saver when the desktop has been idle,
// on desktops where no screen-saver daemon does (Wayland compositors, and
// X11 desktops that bring only a locker). The desktop tells the idle time;
// the runner never reads input devices and never polls.
//
// Exit codes: 0 when the session ends or a screen-saver daemon runs it
// already; 1 for a wrong command line, a second runner in the session, or
// a session that tells no idle time; by the signal that ended it (SIGTERM,
// SIGINT, SIGHUP), once its shows have ended.

#include "idle/idle_runner.h"
#include "idle/runner_options.h"
#include "idle/shows.h"
#include "idle/single_instance.h"
#include "platform/program_name/program_name.h"
#include "platform/session/idle_source.h"
#include "platform/session/session.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr int kRefused = 1;
constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

void say(const std::string& line) { std::fprintf(stderr, "%s: %s\n", platform::programName(), line.c_str()); }

class Runner final : public idle::RunnerActions {
public:
    Runner(std::string show, bool wayland) : Shows(std::move(show)), Wayland(wayland) {}

    bool startShows() override {
        std::string failure;
        const bool started = Shows.start(platform::monitorCount(), failure);
        if (!failure.empty())
            say(failure + (started ? "" : "; waiting for the next idle time"));
        return started;
    }
    void stopShows() override { Shows.stop(); }
    std::optional<std::string> daemonInCharge() override { return platform::screenSaverDaemon(Wayland); }
    void say(const std::string& line) override { ::say(line); }

    idle::Shows Shows;

private:
    bool Wayland;
};

// SIGCHLD and the stop signals, read from a descriptor in the wait.
int signalDescriptor() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGCHLD);
    for (const int signal : kStopSignals)
        sigaddset(&set, signal);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    return signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

// The stop signal that came, if any; takes in the ended shows either way.
int takeSignals(int fd, Runner& runner, idle::IdleRunner& idleRunner) {
    int stop = 0;
    signalfd_siginfo info{};
    while (read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        if (info.ssi_signo != SIGCHLD)
            stop = static_cast<int>(info.ssi_signo);
    for (const idle::ShowExit& exit : runner.Shows.reap())
        idleRunner.showEnded(exit, runner.Shows.running());
    return stop;
}

int pollTimeout(const idle::Shows& shows) {
    const auto deadline = shows.killDeadline();
    if (!deadline)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - idle::Shows::Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

// Waits for the shows to end, killing those that will not.
void endShows(int signals, Runner& runner, idle::IdleRunner& idleRunner) {
    runner.Shows.stop();
    while (runner.Shows.running()) {
        pollfd watched{signals, POLLIN, 0};
        poll(&watched, 1, pollTimeout(runner.Shows));
        runner.Shows.killStragglers(idle::Shows::Clock::now());
        takeSignals(signals, runner, idleRunner);
    }
}

[[noreturn]] void endBySignal(int signal) {
    std::fflush(nullptr);
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    std::raise(signal);
    _exit(128 + signal);
}

int run(platform::IdleSource& source, Runner& runner, idle::IdleRunner& idleRunner, int signals) {
    int stop = 0;
    while (stop == 0 && idleRunner.stage() != idle::IdleRunner::Stage::Leaving) {
        std::vector<pollfd> watched = source.watches();
        watched.push_back(pollfd{signals, POLLIN, 0});
        if (poll(watched.data(), watched.size(), pollTimeout(runner.Shows)) < 0 && errno != EINTR)
            break;
        runner.Shows.killStragglers(idle::Shows::Clock::now());
        stop = takeSignals(signals, runner, idleRunner);
        watched.pop_back();
        source.handle(watched);
    }
    endShows(signals, runner, idleRunner);
    if (stop != 0)
        endBySignal(stop);
    return idleRunner.exitStatus();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto parsed = idle::parseRunnerOptions(args, QV_DEFAULT_SHOW);
    if (const auto* failure = std::get_if<idle::RunnerOptionsError>(&parsed)) {
        say(failure->Message + " (--help lists the options)");
        return kRefused;
    }
    const idle::RunnerOptions& options = std::get<idle::RunnerOptions>(parsed);
    if (options.HelpWanted) {
        std::fputs(idle::runnerUsage(platform::programName(), QV_DEFAULT_SHOW).c_str(), stdout);
        return 0;
    }
    const int signals = signalDescriptor();
    if (signals < 0) {
        say(std::string("cannot read signals: ") + std::strerror(errno));
        return kRefused;
    }
    const idle::SessionLock lock;
    if (!lock.held()) {
        say("another quorvel3d-idle already waits in this session (" + lock.holder() + ")");
        return kRefused;
    }
    const platform::SessionOffer offer = platform::probeSession();
    if (const auto daemon = platform::screenSaverDaemon(offer.Wayland)) {
        say(*daemon + " runs this session's screen saver; leaving it to " + *daemon);
        return 0;
    }
    const auto choice = platform::chooseIdleSource(offer);
    if (const auto* none = std::get_if<platform::NoIdleSource>(&choice)) {
        say("this session tells no idle time: " + none->Missing);
        return kRefused;
    }
    const platform::IdleSourceKind kind = std::get<platform::IdleSourceKind>(choice);
    Runner runner(options.Show, offer.Wayland);
    idle::IdleRunner idleRunner(runner);
    std::string why;
    const auto source = platform::openIdleSource(kind, options.IdleTime, idleRunner, why);
    if (!source) {
        say(std::string("cannot listen to ") + platform::idleSourceName(kind) + ": " + why);
        return kRefused;
    }
    say("runs " + options.Show + " after " + idle::durationText(options.IdleTime) + " without input, as " +
        platform::idleSourceName(kind) + " tells it");
    return run(*source, runner, idleRunner, signals);
}
