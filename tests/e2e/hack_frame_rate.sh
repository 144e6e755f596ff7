#!/usr/bin/env bash
# quorvel3d --fps draws the frame rate in the lower left corner of its view
# in each of its three places (its own window, the root window, a window it
# is handed); without the option that corner shows only the swarm.
source "$(dirname "$0")/hack_lib.sh"

HOST_SIZE=(480 300)
# Few small balls on black: the corner is dark unless the text is there.
QUIET_SWARM=(--count 1024 --size small --no-sky)
TEXT_AREA=(60 16 6 24) # the text's area: width, height, from the view's left, from its bottom
TEXT_LEVEL=70%      # the text is white; the plate and the sky-less view are dark
MIN_TEXT=0.04       # share of the area the digits light up at least
MAX_STRAY=0.02      # share a stray ball may light up without the text

# The corner area of a W x H view whose upper left corner is at X,Y.
corner_area() {
  printf '%dx%d+%d+%d\n' "${TEXT_AREA[0]}" "${TEXT_AREA[1]}" $(($3 + TEXT_AREA[2])) $(($4 + $2 - TEXT_AREA[3]))
}

text_shown() { awk -v f="$(img_lit_fraction "$1" "$TEXT_LEVEL" "$2")" -v min="$MIN_TEXT" 'BEGIN { exit !(f > min) }'; }
xs_text_appears() { xsession_screenshot "$1" && text_shown "$1" "$2"; }

# Starts NAME with ARGS, waits for the swarm in AREA (W H X Y) and looks at
# the corner for as long as the swarm takes to appear and a second more,
# so that the first measured rate is on screen.
expect_text() {
  local name=$1 area=$2; shift 2
  local crop shot="$XS_ARTEFACTS/$name-corner.png"
  read -r w h x y <<<"$area"
  crop=$(corner_area "$w" "$h" "$x" "$y")
  hack_start "$name" "$@"
  hack_check_draws "$name" "${w}x${h}+${x}+${y}" "with --fps"
  sleep 1.5
  if xs_poll "$SHOW_DRAW_TIMEOUT" xs_text_appears "$shot" "$crop"; then
    pass "$name: the frame rate is drawn in the lower left corner ($shot, area $crop)"
  else
    fail "$name: the frame rate is drawn in the lower left corner" "area $crop of $shot"
  fi
  kill -TERM "$(xsession_pid "$name")"
  hack_expect_term_end "$name"
}

run_own_window() {
  local size
  size=$(xsession_display_size)
  expect_text own-window "${size%x*} ${size#*x} 0 0" --fps "${QUIET_SWARM[@]}"
}

run_root_window() {
  local size
  size=$(xsession_display_size)
  expect_text root-window "${size%x*} ${size#*x} 0 0" --root "${QUIET_SWARM[@]}" --fps
}

run_host_window() {
  hack_host_window fps-host "${HOST_SIZE[@]}" || return
  expect_text host-window "$(xsession_window_geometry "$HOST_WINDOW")" --window-id "$HOST_WINDOW" --fps \
    "${QUIET_SWARM[@]}"
  kill -TERM "$(xsession_pid fps-host)"
}

run_without_option() {
  local name=no-fps size crop shot
  size=$(xsession_display_size)
  crop=$(corner_area "${size%x*}" "${size#*x}" 0 0)
  hack_start "$name" "${QUIET_SWARM[@]}"
  hack_check_draws "$name" "$size+0+0" "without --fps"
  sleep 2
  shot=$(xsession_keep_screenshot no-fps-corner)
  check_num "$name: nothing is drawn in the corner ($shot, area $crop)" \
    "$(img_lit_fraction "$shot" "$TEXT_LEVEL" "$crop")" '<' "$MAX_STRAY"
  kill -TERM "$(xsession_pid "$name")"
  hack_expect_term_end "$name"
}

hack_require_build
xsession_start 1024x768
xsession_start_wm

run_own_window
run_root_window
run_host_window
run_without_option

xsession_finish
