#!/usr/bin/env bash
# Which input ends the show: the first key press (while the key is still
# held) ends it; mouse movement, the wheel, the middle button and releasing
# a key that was pressed before the start do not.
source "$(dirname "$0")/show_lib.sh"

HELD_BEFORE_START=Shift_L    # a modifier: the server does not repeat it
WHEEL_TURNS=3

run_ignored_pointer_input() {
  local name=pointer
  show_start "$name" || return
  show_check_covers_display "$name"
  show_check_frames "$name" || return
  xsession_move 10 10
  xsession_move 1000 700
  xsession_move 512 384
  show_expect_goes_on "$name" "mouse movement"
  xsession_wheel up "$WHEEL_TURNS"
  show_expect_goes_on "$name" "the wheel turned up"
  xsession_wheel down "$WHEEL_TURNS"
  show_expect_goes_on "$name" "the wheel turned down"
  xsession_click 2
  show_expect_goes_on "$name" "a middle click"
  xsession_key Escape
  show_expect_end "$name" "a key press that followed ignored input"
}

run_held_keys() {
  local name=held-keys
  xsession_key_down "$HELD_BEFORE_START"
  show_start "$name" || { xsession_key_up "$HELD_BEFORE_START"; return; }
  show_check_frames "$name" || { xsession_key_up "$HELD_BEFORE_START"; return; }
  xsession_key_up "$HELD_BEFORE_START"
  show_expect_goes_on "$name" "releasing a key pressed before the start"
  xsession_key_down x
  show_expect_end "$name" "pressing a key that is still held"
  xsession_key_up x
}

show_require_build
xsession_start 1024x768
xsession_start_wm

run_ignored_pointer_input
run_held_keys

xsession_finish
