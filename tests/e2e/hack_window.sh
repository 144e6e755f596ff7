#!/usr/bin/env bash
# quorvel3d inside a window it is handed, as a daemon or a settings preview
# hands it one: any visual, any size, following resizes; started from "/"
# it still finds its pictures; SIGSTOP/SIGCONT pause it, the loss of its
# window ends it with 0, SIGTERM by SIGTERM, as the daemons expect; a window
# it cannot draw into ends it with 1.
source "$(dirname "$0")/hack_lib.sh"

PREVIEW_SIZE=(320 200)
RESIZED_SIZE=(640 400)
ARGB_SIZE=(480 300)
OUTSIDE_AREA="200x200+800+540" # never covered by a host window
WHITE=0.9                      # the root is white; drawing there would darken it

run_foreign_visual() {
  local name=argb
  hack_host_window argb-host "${ARGB_SIZE[@]}" argb || return
  hack_start "$name" --window-id "$HOST_WINDOW"
  hack_check_draws "$name" "$(hack_area "$HOST_WINDOW")" "in a 32-bit ARGB window"
  check_num "$name: the screen outside its window stays white" "$(img_mean "$SHOW_SHOT" "$OUTSIDE_AREA")" '>' "$WHITE"
  kill -TERM "$(xsession_pid argb-host)"
  show_expect_end "$name" "its window went away"
  show_expect_quiet "$name"
}

run_resized_preview() {
  local name=preview
  hack_host_window preview-host "${PREVIEW_SIZE[@]}" || return
  hack_start "$name" --window-id "$HOST_WINDOW"
  hack_check_draws "$name" "$(hack_area "$HOST_WINDOW")" "in a preview-sized window"
  xdotool windowsize --sync "$HOST_WINDOW" "${RESIZED_SIZE[@]}"
  check_eq "$name: the host window grew" "${RESIZED_SIZE[*]}" "$(xsession_window_geometry "$HOST_WINDOW" | cut -d' ' -f1-2)"
  hack_check_draws "$name" "$(hack_area "$HOST_WINDOW" grown)" "over the whole window after it grew"
  kill -STOP "$(xsession_pid "$name")"
  sleep 1
  kill -CONT "$(xsession_pid "$name")"
  show_expect_goes_on "$name" "SIGSTOP and SIGCONT"
  kill -TERM "$(xsession_pid "$name")"
  hack_expect_term_end "$name"
  show_expect_quiet "$name"
  check "$name: its host window is still there" xsession_running preview-host
}

run_bad_window_ids() {
  local name id
  for id in 0x0 0xnothing 12abc ""; do
    name="bad-id-${id:-empty}"
    hack_start "$name" --window-id "$id"
    if xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
      check_eq "$name: ends with 1" 1 "$XS_EXIT_CODE"
      check "$name: says what is wrong" grep -q 'window id' "$XS_ARTEFACTS/$name.err"
    else
      fail "$name: ends"
    fi
  done
}

# A window that is gone, or one nothing can be drawn in: nothing is drawn,
# so it ends with 1 and says why, unlike a drawn-into window going away.
expect_nothing_drawn() {
  local name=$1 id=$2
  hack_start "$name" --window-id "$id"
  if xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    check_eq "$name: ends with 1" 1 "$XS_EXIT_CODE"
    check "$name: says it cannot draw there" \
      grep -q -e "no window $id to draw into" -e "cannot make a window inside $id" "$XS_ARTEFACTS/$name.err"
  else
    fail "$name: ends"
  fi
}

run_unusable_windows() {
  hack_host_window gone-host "${PREVIEW_SIZE[@]}" || return
  xs_stop_pid "$(xsession_pid gone-host)"
  expect_nothing_drawn gone "$HOST_WINDOW"
  hack_host_window input-only-host "${PREVIEW_SIZE[@]}" input-only || return
  expect_nothing_drawn input-only "$HOST_WINDOW"
  kill -TERM "$(xsession_pid input-only-host)"
}

hack_require_build
xsession_start 1024x768
xsession_start_wm

run_foreign_visual
run_resized_preview
run_bad_window_ids
run_unusable_windows

xsession_finish
