#!/usr/bin/env bash
# The settings that change what the show draws: without the sky box the
# background is plain black, and with lighting on the balls still show.
source "$(dirname "$0")/show_lib.sh"

BLACK=1%                  # a pixel this dark counts as black
MIN_BLACK_SHARE=0.5       # without the sky, most of the screen is black
MAX_MEAN_WITHOUT_SKY=0.1  # and nothing like a white or grey clear colour

black_share() { awk -v lit="$(img_lit_fraction "$1" "$BLACK")" 'BEGIN { printf "%.6f\n", 1 - lit }'; }

run_without_background() {
  local name=no-background
  xsession_settings_clear
  xsession_settings_dword UseBackground 0
  show_start "$name" || return
  show_check_frames "$name" || { xsession_key space; return; }
  check_num "$name: most of the screen is black" "$(black_share "$SHOW_SHOT")" '>=' "$MIN_BLACK_SHARE"
  check_num "$name: the screen is dark, not white or grey" "$(img_mean "$SHOW_SHOT")" '<' "$MAX_MEAN_WITHOUT_SKY"
  xsession_key space
  show_expect_end "$name" "a key press"
}

# The counterpart: the sky box covers the background with its dark blue.
run_with_background() {
  local name=background
  xsession_settings_clear
  xsession_settings_dword UseBackground 1
  show_start "$name" || return
  show_check_frames "$name" || { xsession_key space; return; }
  check_num "$name: the sky covers the black background" "$(black_share "$SHOW_SHOT")" '<' "$MIN_BLACK_SHARE"
  xsession_key space
  show_expect_end "$name" "a key press"
}

run_with_lighting() {
  local name=lighting
  xsession_settings_clear
  xsession_settings_dword UseLighting 1
  show_start "$name" || return
  show_check_frames "$name"
  xsession_key space
  show_expect_end "$name" "a key press"
  show_expect_quiet "$name"
}

# A camera distance of 1e20 used to leave every pixel black: it now counts
# as missing, so the show draws its usual picture, says so once, and stores
# the default in its place.
run_with_undrawable_distance() {
  local name=undrawable-distance
  xsession_settings_clear
  xsession_settings_dword CameraDistance 0x60AD78EC
  show_start "$name" || return
  show_check_frames "$name" || { xsession_key space; return; }
  xsession_key space
  show_expect_end "$name" "a key press"
  local said
  said=$(xsession_stderr "$name")
  check_eq "$name: one line on stderr" 1 "$(printf '%s\n' "$said" | grep -c .)"
  check "$name: the line names the setting" grep -q CameraDistance <<<"$said"
  check_eq "$name: the default is stored in its place" dword:430c0000 "$(xsession_settings_value CameraDistance)"
}

show_require_build
xsession_start 1280x720
xsession_start_wm

run_without_background
run_with_background
run_with_lighting
run_with_undrawable_distance

xsession_finish
