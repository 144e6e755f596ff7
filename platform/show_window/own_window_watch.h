#pragma once

// What the show in its own window learns from the display beside the
// engine's events: presses anywhere, whoever has the focus, and whether
// anybody can see the window at all. The show takes no grab, so a screen
// locker can always take the keyboard and the pointer; the presses are
// read from the server's raw input events, which need neither a grab nor
// the focus.

#include "platform/show_window/screen.h"

#include <chrono>

namespace platform {

class OwnWindowWatch {
public:
    // Watches on the show's own connection, which must outlive the watch.
    explicit OwnWindowWatch(const DisplayConnection& connection);
    ~OwnWindowWatch();
    OwnWindowWatch(const OwnWindowWatch&) = delete;
    OwnWindowWatch& operator=(const OwnWindowWatch&) = delete;

    // The show's window, once it is mapped: whether it is covered.
    void watchWindow(unsigned long window);

    // For a short while after it is mapped the window asks for the focus
    // again whenever it has lost it: a window manager settling its own
    // focus, or another client, may take it the moment the window has it,
    // and a show that never keeps the focus never moves. After that it
    // leaves the focus to whoever takes it.
    void claimFocusAtStart();

    // Takes in what happened since the last call.
    void update();

    // A key, or the left or right button, went down since the watch began.
    bool pressed() const { return Pressed; }

    // The screen's size or its monitors changed since the last call.
    bool takeScreenChange();

    // Nobody can see the window: another window covers it whole (a locker's,
    // say), the server's screen saver is on, or the display is powered down.
    bool hidden() const { return Covered || SaverOn || PoweredDown; }

    int connectionFd() const; // readable when the display has news; -1 when none

private:
    void take(void* event);
    void lookAtPower();
    void keepFocus();

    void* Dpy = nullptr;
    unsigned long Watched = 0; // the show's window
    int InputOpcode = -1;     // the raw-input extension's, when the server has it
    int SaverEventBase = -1;  // the screen-saver extension's, when the server has it
    int ScreenEventBase = -1; // RandR's, when the server has it
    bool HasPowerControl = false;
    std::chrono::steady_clock::time_point NextPowerLook;
    std::chrono::steady_clock::time_point FocusClaimEnd; // none claimed while in the past
    bool Pressed = false;
    bool ScreenChanged = false;
    bool Covered = false;
    bool SaverOn = false;
    bool PoweredDown = false;
};

} // namespace platform
