#!/usr/bin/env bash
# The show rests while nobody can see it: while the X server's own screen
# saver is on it draws nothing and takes next to no processor time, and it
# draws again once the saver is off. A window that takes the focus from it
# does not keep a key from ending it.
source "$(dirname "$0")/show_lib.sh"

REST_SECONDS=5
REST_MOST_CPU=1 # percent of a core
FOCUS_CLAIM_SECONDS=2 # after its window maps, the show asks for a lost focus again this long


run_blanked_show() {
  local name=blanked pid
  show_start "$name" || return
  show_check_frames "$name" || return
  pid=$(xsession_pid "$name")
  xset s activate
  sleep 1 # the show takes in the server's news between two frames
  check_num "$name: rests while the server's screen saver is on (% of a core over ${REST_SECONDS}s)" \
    "$(show_cpu_percent "$pid" "$REST_SECONDS")" '<' "$REST_MOST_CPU"
  xset s reset
  show_expect_goes_on "$name" "the server's screen saver went off"
  xsession_key space
  show_expect_end "$name" "a key press"
}

xs_thief_id_printed() { [ -s "$XS_ARTEFACTS/thief.out" ]; }

# The thief lies under the show, which stays above it; the key goes to the
# thief, which has the focus, and still ends the show.
run_robbed_show() {
  local name=robbed thief
  show_start "$name" || return
  show_check_frames "$name" || return
  sleep "$FOCUS_CLAIM_SECONDS"
  xsession_spawn thief "$XS_TMP" "$QV_PROBE" window 200 200
  xs_poll 10 xs_thief_id_printed || { fail "$name: another window appears"; return; }
  thief=$(xsession_stdout thief)
  xdotool windowactivate --sync "$thief" >/dev/null 2>&1 || xdotool windowfocus "$thief"
  check_eq "$name: the other window has the focus" "$((thief))" "$(xdotool getwindowfocus)"
  xsession_key space
  show_expect_end "$name" "a key press that went to the other window"
  xs_stop_pid "$(xsession_pid thief)"
}

show_require_build
xsession_start 640x480
xsession_start_wm

run_blanked_show
run_robbed_show

xsession_finish
