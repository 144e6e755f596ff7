#!/usr/bin/env bash
# qvshow.exe under Wine on a virtual X server: the engine's Direct3D 9 driver
# draws the swarm over a dark sky across the whole display, the swarm moves,
# and a key press ends the show with 0. Pictures come from the X server (the
# engine's own screenshot of a Direct3D frame comes back black under Wine).
#
# QV_WIN_BUILD names the Windows build folder; its stage/ is used as built.
source "$(dirname "$0")/wine_lib.sh"

SCREEN=1024x768
WINDOW_TIMEOUT=90  # seconds until the show's window is mapped; Wine starts slowly
DRAW_TIMEOUT=90    # seconds until a frame with balls is on screen
EXIT_TIMEOUT=30    # seconds the show gets to end after the key press
MOVE_PAUSE=1       # seconds between the two pictures that must differ
MIN_CHANGE=0.001   # share of the screen that changes while the swarm moves

for file in qvshow.exe Irrlicht.dll data01 data/skybox.jpg; do
  [ -e "$WINE_STAGE/$file" ] || { xs_log "missing $WINE_STAGE/$file: run tools/build-windows"; exit 1; }
done

wine_session_start "$SCREEN"
# Wine notes each DLL it loads on stderr; that is how the driver shows.
xsession_spawn show "$WINE_STAGE" env WINEDEBUG=+loaddll "$WINE" qvshow.exe
if ! window=$(xsession_wait_window '^Quorvel 3D$' "$WINDOW_TIMEOUT"); then
  fail "the show's window comes up" "$(xsession_stderr show | grep -v loaddll | tail -n 5)"
  xsession_finish
fi
pass "the show's window comes up"
read -r width height x y <<<"$(xsession_window_geometry "$window")"
check_eq "the window covers the display" "$SCREEN+0+0" "${width}x${height}+$x+$y"
check "the engine draws with Direct3D 9" grep -qi 'Loaded L".*d3d9\.dll"' "$XS_ARTEFACTS/show.err"

if first=$(wine_wait_swarm "$DRAW_TIMEOUT"); then
  pass "coloured balls on a dark screen (kept: $first)"
  sleep "$MOVE_PAUSE"
  second=$(xsession_keep_screenshot swarm-later)
  check_num "the swarm moves" "$(img_changed_fraction "$first" "$second")" ">" "$MIN_CHANGE"
else
  shot=$(xsession_keep_screenshot no-swarm)
  fail "coloured balls on a dark screen" "screen: $shot" \
    "coloured $(img_coloured_fraction "$shot"), mean $(img_mean "$shot")"
fi

xsession_key_to "$window" space
if xsession_wait_exit show "$EXIT_TIMEOUT"; then
  check_eq "a key press ends the show with 0" 0 "$XS_EXIT_CODE"
  check "the window has gone" xsession_wait_window_gone '^Quorvel 3D$' 10
else
  fail "a key press ends the show"
fi

xsession_finish
