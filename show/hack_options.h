#pragma once

// The screen saver's command line, read without side effects: where it
// draws, the settings chosen for this run only, the frame-rate overlay.

#include "show/show.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct HackOptions {
    ShowPlace Place;
    RunChoices Choices;
    bool HelpWanted = false; // nothing else was read
};

// One line that says what is wrong, without the program's name.
struct HackOptionsError {
    std::string Message;
};

// ARGS are the arguments after the program's name; HOST_WINDOW is what the
// daemon put in $XSCREENSAVER_WINDOW, if anything. A later option wins over
// an earlier one of the same setting.
std::variant<HackOptions, HackOptionsError> parseHackOptions(const std::vector<std::string_view>& args,
                                                             std::optional<std::string_view> hostWindow);

std::string hackUsage(std::string_view programName);
