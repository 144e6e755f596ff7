#pragma once

// The life of the show, step by step; runShow does them all in order.

#include "settings/show_settings.h"

#include <cstdint>
#include <optional>

// Where the show draws: its own full-screen window, which a key press or a
// click ends, or inside a window another program owns (a screen-saver
// daemon's or a settings preview's), which keeps the input and ends the
// show by a signal or by taking the window away.
struct ShowPlace {
    enum class Kind { OwnWindow, HostWindow, RootWindow };
    Kind Where = Kind::OwnWindow;
    unsigned long HostWindow = 0; // for Kind::HostWindow
    // For Kind::OwnWindow: the monitor of the display to cover (0 first, in
    // the display's own order), where one show runs per monitor; else the
    // primary display.
    std::optional<int> Monitor;
};

// What a command line may change for one run: settings that win over the
// stored ones, and the frame rate drawn in a corner of the view.
struct RunChoices {
    SettingsOverrides Overrides;
    bool ShowFrameRate = false;
};

void prepareShow();
bool createEngineDevice();
void runFrameLoop();
void releasePixels();
void teardown();
// How a run went; each program chooses its exit code from it.
enum class ShowEnd {
    Ran,          // the show ran in its window until told to end or the window went away
    NoWindow,     // no display, or no window of its own on it
    NoMonitor,    // the display has no monitor of the number asked for
    HostUnusable, // the window it was handed could not be drawn into
};
ShowEnd runShow(ShowPlace place = {}, RunChoices choices = {});

// A show without a window, on the engine's null driver, for tools and
// tests: the swarm is built exactly as on screen, every draw in its order.
bool startHeadlessShow(const ShowSettings& settings, std::uint32_t seed);

// The same show drawn by the screen's driver into an ordinary window of
// WIDTH x HEIGHT pixels, with vsync off, for tools and tests that look at
// the pictures; the engine's clock stands at 0 until they set it. False
// where no such window can be opened.
bool startWindowedShow(const ShowSettings& settings, std::uint32_t seed, int width, int height);
void stopHeadlessShow();
