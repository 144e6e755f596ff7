#!/usr/bin/env bash
# When the show cannot open its window it builds nothing, says so in one
# line on stderr and still ends with 0: with no display at all, with a
# display where no server listens, and with a server that has no OpenGL.
source "$(dirname "$0")/show_lib.sh"

# A display number whose socket and lock file do not exist.
free_display_number() {
  local n
  for ((n = 200; n < 1000; n++)); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return; }
  done
  return 1
}

# Runs the show as NAME with the environment changes ENV... (env syntax).
expect_one_line_and_zero() {
  local name=$1 what=$2; shift 2
  xsession_spawn "$name" "$QV_STAGE_DIR" env "$@" "$QVSHOW"
  if ! xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    fail "$name: ends by itself $what"
    return
  fi
  check_eq "$name: ends with 0 $what" 0 "$XS_EXIT_CODE"
  check_eq "$name: prints exactly one line on stderr $what" 1 "$(xsession_stderr "$name" | wc -l)"
  check_eq "$name: prints nothing on stdout $what" "" "$(xsession_stdout "$name")"
  printf '     stderr: %s\n' "$(xsession_stderr "$name")"
}

show_require_build

expect_one_line_and_zero no-display "without a display" -u DISPLAY
expect_one_line_and_zero dead-display "when no server listens on the display" \
  DISPLAY=":$(free_display_number)"

xsession_start 800x600 -extension GLX
expect_one_line_and_zero no-opengl "on a server without OpenGL" DISPLAY="$DISPLAY"

xsession_finish
