#!/usr/bin/env bash
# Many starts of the show on a bare X server that resets whenever its last
# client leaves (no -noreset), as a login screen's server can: every start
# must open its window. Each one ends on a key as soon as its window is up.
source "$(dirname "$0")/show_lib.sh"

STARTS=100
SCREEN=1280x720x24
START_TIMEOUT=30 # seconds for one start's window

LOOP_XVFB_PID=""

cleanup() {
  xsession_cleanup
  xs_stop_pid "$LOOP_XVFB_PID"
}
trap cleanup EXIT

# The harness's server never resets, so this one is started here.
start_resetting_server() {
  local fd_file
  fd_file="$(xsession_temp_dir)/loop-display"
  Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp 3>"$fd_file" >"$XS_ARTEFACTS/xvfb.log" 2>&1 &
  LOOP_XVFB_PID=$!
  xs_poll "$XS_SERVER_TIMEOUT" test -s "$fd_file" || { fail "Xvfb starts"; xsession_finish; }
  DISPLAY=":$(head -n1 "$fd_file" | tr -d '[:space:]')"
  export DISPLAY
}

xs_window_up() { xdotool search --onlyvisible --name '^Quorvel 3D$' >/dev/null 2>&1; }
xs_up_or_gone() { xs_window_up || ! xsession_running "$1"; }

# Prints nothing for a good start, else what went wrong.
one_start() {
  local name=$1
  xsession_spawn "$name" "$QV_STAGE_DIR" "${SHOW_SPAWN_ENV[@]}" "$QVSHOW"
  xs_poll "$START_TIMEOUT" xs_up_or_gone "$name"
  xs_window_up && xsession_key Return
  if ! xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    printf '%s: still running after the key\n' "$name"
  elif [ "$XS_EXIT_CODE" != 0 ] || [ -s "$XS_ARTEFACTS/$name.err" ]; then
    printf '%s: exit %s, stderr: %s\n' "$name" "$XS_EXIT_CODE" "$(xsession_stderr "$name")"
  fi
}

show_require_build
start_resetting_server

failures=()
for ((i = 1; i <= STARTS; ++i)); do
  problem=$(one_start "start-$i")
  [ -z "$problem" ] || failures+=("$problem")
done
check_eq "all $STARTS starts open their window and end on a key with 0, saying nothing" \
  "0 failed" "${#failures[@]} failed"
for problem in "${failures[@]}"; do printf '     %s\n' "$problem"; done

xsession_finish
