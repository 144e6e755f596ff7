#!/usr/bin/env bash
# The idle runner under KWin, headless, with two outputs: it starts one show
# on each after the idle time (KWin tells it by ext-idle-notify-v1), a key
# ends them, so does activity KWin is told of from elsewhere, an idle
# inhibitor holds them off, and the runner ends with KWin. KWin has no
# capture tool for tests without its permission checks, so each show's
# window is read from XWayland.
source "$(dirname "$0")/hack_lib.sh"
source "$(dirname "$0")/idle_lib.sh"

hack_require_build
idle_require_build
xsession_settings_dword PixelsUsed 256
comp_start_kwin

idle_start_runner runner
if idle_wait_shows runner 2; then
  pass "runner: starts a show on each of the two outputs after ${IDLE_TIME}s idle"
  idle_check_covered runner idle_picture_window
  idle_check_above runner
  # KWin counts no synthetic input from a test: the key reaches XWayland,
  # and the show that has the focus ends by itself.
  idle_expect_shows_end runner "a key to the focused show (xdotool)" xdotool key space
else
  fail "runner: starts a show on each of the two outputs" "stderr: $(xsession_stderr runner)"
fi
"$QV_WLPROBE" activity >/dev/null 2>&1 # the key above was the shows' own: KWin is still idle
if idle_wait_shows runner 2; then
  pass "runner: starts the shows again after the next idle time"
  idle_check_covered runner-again idle_picture_window
  idle_expect_shows_end runner "activity that KWin is told of" "$QV_WLPROBE" activity
fi
idle_expect_inhibited runner 2 inhibiting "$QV_WLPROBE" inhibit
idle_expect_end_with_compositor runner

xsession_finish
