#!/usr/bin/env bash
# The show on a bare X server, with no window manager to give it the focus
# or to make it full-screen: it must do both itself, draw, and end on a key.
source "$(dirname "$0")/show_lib.sh"

run_show() {
  local name=$1 how=$2 end_command=$3
  show_start "$name" || return
  show_check_covers_display "$name"
  show_check_frames "$name"
  show_end_run "$name" "$how" "$end_command"
}

show_require_build
xsession_start 800x600

show_check_cursor "the cursor is visible before the show" visible
run_show key "a key press" "xsession_key Return"
run_show left-click "a left click" "xsession_click 1"

xsession_finish
