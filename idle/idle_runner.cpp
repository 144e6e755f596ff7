#include "idle/idle_runner.h"

namespace idle {

void IdleRunner::idleBegan() {
    if (Now != Stage::Waiting)
        return;
    if (const auto daemon = Actions.daemonInCharge()) {
        Actions.say(*daemon + " now runs this session's screen saver; leaving it to " + *daemon);
        Now = Stage::Leaving;
        return;
    }
    Now = Actions.startShows() ? Stage::Showing : Stage::Resting;
}

void IdleRunner::activityCame() {
    if (Now == Stage::Leaving)
        return;
    if (Now == Stage::Showing)
        Actions.stopShows();
    Now = Stage::Waiting;
}

void IdleRunner::sessionEnded(const std::string& why) {
    if (Now == Stage::Leaving)
        return;
    Actions.say(why + "; ending");
    Actions.stopShows();
    Now = Stage::Leaving;
}

void IdleRunner::showEnded(const ShowExit& exit, bool othersLeft) {
    if (Now == Stage::Leaving)
        return; // the session went with its display: the shows could only follow
    if (exit.Stopped || Now != Stage::Showing) {
        if (!exit.Clean)
            Actions.say("the show on monitor " + std::to_string(exit.Monitor) + " ended " + exit.How);
        return;
    }
    if (!exit.Clean)
        Actions.say("the show on monitor " + std::to_string(exit.Monitor) + " ended " + exit.How +
                    "; waiting for the next idle time");
    // One show ended by a key or a click ends them all.
    if (othersLeft)
        Actions.stopShows();
    Now = Stage::Resting;
}

} // namespace idle
