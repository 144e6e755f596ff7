#pragma once

// When the idle runner starts and ends the shows: a show on idle, its end
// on input, and after a show that ended by itself (a key, a click, a
// crash) no new one until the next idle time, so that a show that cannot
// run is not started over and over.

#include "platform/session/idle_source.h"

#include <optional>
#include <string>

namespace idle {

// How one show ended, as the runner saw it.
struct ShowExit {
    int Monitor = 0;
    bool Stopped = false; // the runner had asked it to end
    bool Clean = false;   // exit code 0, or the end the runner asked for
    std::string How;      // "with exit code 1", "by signal 11 (Segmentation fault)"
};

class RunnerActions {
public:
    virtual bool startShows() = 0; // false when none could start; it has said why
    virtual void stopShows() = 0;  // asks every running show to end
    virtual std::optional<std::string> daemonInCharge() = 0;
    virtual void say(const std::string& line) = 0;

protected:
    ~RunnerActions() = default;
};

class IdleRunner final : public platform::IdleListener {
public:
    enum class Stage {
        Waiting, // for the idle time
        Showing,
        Resting, // idle, but no show: waiting for input before the next idle time
        Leaving, // the shows are ended and the runner leaves
    };

    explicit IdleRunner(RunnerActions& actions) : Actions(actions) {}

    void idleBegan() override;
    void activityCame() override;
    void sessionEnded(const std::string& why) override;
    // A show has ended; OTHERS_LEFT tells whether other shows still run.
    void showEnded(const ShowExit& exit, bool othersLeft);

    Stage stage() const { return Now; }
    int exitStatus() const { return ExitStatus; }

private:
    RunnerActions& Actions;
    Stage Now = Stage::Waiting;
    int ExitStatus = 0;
};

} // namespace idle
