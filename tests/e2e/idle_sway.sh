#!/usr/bin/env bash
# The idle runner under sway, headless, with two outputs: it starts one show
# on each after the idle time (sway tells it by org_kde_kwin_idle), a key
# or pointer movement ends them, an idle inhibitor holds them off, and the
# runner ends with sway. sway's own capture (grim) shows each output.
source "$(dirname "$0")/hack_lib.sh"
source "$(dirname "$0")/idle_lib.sh"

wayland_key() { wtype -k "$1"; }
pointer_moves() { swaymsg seat seat0 cursor move 5 5; }

hack_require_build
idle_require_build
command -v wtype >/dev/null || xsession_skip "wtype is not installed (tools/install-deps installs it)"
xsession_settings_dword PixelsUsed 256
comp_start_sway

idle_start_runner runner
if idle_wait_shows runner 2; then
  pass "runner: starts a show on each of the two outputs after ${IDLE_TIME}s idle"
  idle_check_covered runner idle_picture_output
  idle_check_above runner
  idle_expect_shows_end runner "a key (wtype)" wayland_key space
else
  fail "runner: starts a show on each of the two outputs" "stderr: $(xsession_stderr runner)"
fi
if idle_wait_shows runner 2; then
  pass "runner: starts the shows again after the next idle time"
  idle_check_covered runner-again idle_picture_output
  idle_expect_shows_end runner "pointer movement, which the shows themselves ignore," pointer_moves
fi
idle_expect_inhibited runner 2 inhibiting "$QV_WLPROBE" inhibit
idle_expect_end_with_compositor runner

xsession_finish
