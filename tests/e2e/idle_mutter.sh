#!/usr/bin/env bash
# The idle runner under Mutter, headless, with two virtual monitors: it
# starts one show on each after the idle time (Mutter tells it by
# org.gnome.Mutter.IdleMonitor on the session bus), a key ends them, so
# does activity from elsewhere (Mutter's idle time taken back to zero, as
# its test hook allows), and the runner ends with Mutter. Mutter has no
# capture tool for tests, so each show's window is read from XWayland.
# Mutter leaves idle inhibitors to gnome-session, which this test does not
# run: that case is skipped here.
source "$(dirname "$0")/hack_lib.sh"
source "$(dirname "$0")/idle_lib.sh"

mutter_activity() {
  gdbus call --session -d org.gnome.Mutter.IdleMonitor -o /org/gnome/Mutter/IdleMonitor/Core \
    -m org.gnome.Mutter.IdleMonitor.ResetIdletime
}

hack_require_build
idle_require_build
command -v gdbus >/dev/null || xsession_skip "gdbus is not installed (tools/install-deps installs it)"
xsession_settings_dword PixelsUsed 256
comp_start_mutter

idle_start_runner runner
if idle_wait_shows runner 2; then
  pass "runner: starts a show on each of the two monitors after ${IDLE_TIME}s idle"
  idle_check_covered runner idle_picture_window
  idle_check_above runner
  idle_expect_shows_end runner "a key to the focused show (xdotool)" xdotool key space
else
  fail "runner: starts a show on each of the two monitors" "stderr: $(xsession_stderr runner)"
fi
mutter_activity >/dev/null 2>&1 # the key above was the shows' own: Mutter is still idle
if idle_wait_shows runner 2; then
  pass "runner: starts the shows again after the next idle time"
  idle_check_covered runner-again idle_picture_window
  idle_expect_shows_end runner "activity that Mutter is told of" mutter_activity
fi
printf 'skipped: an idle inhibitor under Mutter (GNOME keeps inhibitors in gnome-session, not run here)\n'
idle_expect_end_with_compositor runner

xsession_finish
