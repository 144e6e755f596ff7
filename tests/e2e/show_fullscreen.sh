#!/usr/bin/env bash
# The show under a window manager: it covers the whole display above other
# windows, draws a moving swarm, hides the cursor while it runs, and ends
# with 0 on a key press, a left click or a right click; command-line
# arguments change nothing.
source "$(dirname "$0")/show_lib.sh"

OTHER_GEOMETRY=400x200+100+100
OTHER_COLOUR='#c04000'           # stands out from the white root and the show
OTHER_CROP=360x120+120+150       # inside the other window, below its text
OTHER_SHOWS=0.9                  # share of the crop in its colour while visible
OTHER_HIDDEN=0.5                 # balls there are coloured too, but sparse

# The last client in the window manager's stacking order is the top one.
top_client() { xprop -root _NET_CLIENT_LIST_STACKING | awk '{ print $NF }'; }

is_top_client() { (($(top_client) == SHOW_WINDOW)); }

has_wm_state() { xprop -id "$SHOW_WINDOW" _NET_WM_STATE | grep -qw "$1"; }

# One run of the show, ended by END_COMMAND (described as HOW).
run_show() {
  local name=$1 how=$2 end_command=$3; shift 3
  show_start "$name" "$@" || return
  show_check_covers_display "$name"
  check "$name: is full-screen" has_wm_state _NET_WM_STATE_FULLSCREEN
  check "$name: stays above other windows" has_wm_state _NET_WM_STATE_ABOVE
  check "$name: is the top window" is_top_client
  show_check_frames "$name"
  check_num "$name: the other window is hidden under the show" \
    "$(img_coloured_fraction "$SHOW_SHOT" "$OTHER_CROP")" '<' "$OTHER_HIDDEN"
  show_end_run "$name" "$how" "$end_command"
}

show_require_build
xsession_start 1280x720
xsession_start_wm

xsession_spawn other "$(xsession_temp_dir)" \
  xmessage -geometry "$OTHER_GEOMETRY" -xrm "*background: $OTHER_COLOUR" "a window under the show"
xsession_wait_window xmessage 30 >/dev/null || fail "the other window appears"
before_show=$(xsession_keep_screenshot before-show)
check_num "the other window shows before the show starts" \
  "$(img_coloured_fraction "$before_show" "$OTHER_CROP")" '>' "$OTHER_SHOWS"
show_check_cursor "the cursor is visible before the show" visible

run_show key "a key press" "xsession_key space"
run_show arguments "a left click" "xsession_click 1" /s --foo bar
run_show right-click "a right click" "xsession_click 3"

check "the show took its settings from the test's own folder" \
  grep -q '"UseBackground"=dword:00000001' "$(xsession_settings_file)"

xsession_finish
