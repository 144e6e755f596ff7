#!/usr/bin/env bash
# The show on a bare X server, with no window manager to give it the focus
# or to make it full-screen: it must do both itself, draw, and end on a key,
# even once it has lost the focus to another window. A window that takes the
# focus the moment the show has it does not keep it still.
source "$(dirname "$0")/show_lib.sh"

FOCUS_CLAIM_SECONDS=2 # after its window maps, the show asks for a lost focus again this long

run_show() {
  local name=$1 how=$2 end_command=$3
  show_start "$name" || return
  show_check_covers_display "$name"
  show_check_frames "$name"
  show_end_run "$name" "$how" "$end_command"
}

xs_host_id_printed() { [ -s "$XS_ARTEFACTS/other-window.out" ]; }

# Another program takes the focus from the show, and with no window manager
# nothing gives it back: the show stops drawing, yet a click on it must
# still end it.
run_unfocused_show() {
  local name=unfocused other
  xsession_spawn other-window "$XS_TMP" "$QV_PROBE" window 100 100
  xs_poll 10 xs_host_id_printed || { fail "$name: another window appears"; return; }
  other=$(xsession_stdout other-window)
  show_start "$name" || return
  show_check_frames "$name" || return
  sleep "$FOCUS_CLAIM_SECONDS"
  xdotool windowfocus "$other"
  check_eq "$name: the other window has the focus" "$((other))" "$(xdotool getwindowfocus)"
  xsession_move 400 300
  xsession_click 1
  show_expect_end "$name" "a click while it had no focus"
}

xs_thief_answered() { [ "$(wc -l < "$XS_ARTEFACTS/thief.out")" -ge "$1" ]; }

# The thief takes the focus back the moment the show first has it, before
# the show has drawn a frame that moves; the show takes it again and draws.
run_focus_taken_at_start() {
  local name=robbed-at-start
  xsession_spawn thief "$XS_TMP" "$QV_PROBE" focus-thief 100 100
  xs_poll 10 xs_thief_answered 1 || { fail "$name: the thief's window appears"; return; }
  show_start "$name" || return
  if xs_poll 10 xs_thief_answered 2; then
    pass "$name: another window took the focus from the show ($(tail -n 1 "$XS_ARTEFACTS/thief.out"))"
  else
    fail "$name: another window took the focus from the show"
  fi
  check "$name: the show moves on" show_draws_on "$name"
  check_eq "$name: the show has the focus again" "$((SHOW_WINDOW))" "$(xdotool getwindowfocus)"
  xs_stop_pid "$(xsession_pid thief)"
  show_end_run "$name" "a key press" "xsession_key Return"
}

# With no window manager to follow the screen, the show itself covers it
# again when its size changes (a server with video modes: Xorg).
run_resized_screen() {
  local name=resized size
  show_start "$name" || return
  show_check_frames "$name" || return
  for size in 1920x1080 1280x720; do
    xrandr -s "$size"
    xs_poll 10 xs_covers_display || true
    check_eq "$name: covers the screen again at $size" "$(xs_display_geometry)" \
      "$(xsession_window_geometry "$SHOW_WINDOW")"
    show_check_frames "$name-$size"
  done
  show_end_run "$name" "a key press" "xsession_key Return"
}

show_require_build
xsession_start 800x600

show_check_cursor "the cursor is visible before the show" visible
run_show key "a key press" "xsession_key Return"
run_show left-click "a left click" "xsession_click 1"
run_unfocused_show
run_focus_taken_at_start
if [ "$XS_SERVER" = xorg ]; then
  xrandr -s 1280x720
  run_resized_screen
fi

xsession_finish
