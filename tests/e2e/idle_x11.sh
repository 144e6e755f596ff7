#!/usr/bin/env bash
# The idle runner on an X11 desktop that runs no screen-saver daemon (Xvfb,
# openbox): the X server's MIT-SCREEN-SAVER idle time starts the show,
# input ends it (a middle click, which the show itself ignores, through the
# runner), a program that keeps resetting the idle timer (as video players
# do) holds it off. And the bad cases: a session with no idle time, a
# second runner, a show that cannot start or that crashes, a signal to the
# runner, a daemon that runs the session's screen saver already, and the X
# server going away.
source "$(dirname "$0")/hack_lib.sh"
source "$(dirname "$0")/idle_lib.sh"
SAVER_USER=qvidlesaver
source "$(dirname "$0")/saver_user_lib.sh"
trap 'saver_cleanup; idle_cleanup' EXIT

DAEMON_TIMEOUT=30

reset_idle_timer() { while :; do xset s reset; sleep 0.5; done; }
export -f reset_idle_timer

one_line() { [ "$(wc -l <"$XS_ARTEFACTS/$1.err")" -eq 1 ]; }

run_without_idle_time() {
  local name=no-idle-time
  xsession_spawn "$name" "$XS_TMP" env -u DISPLAY -u WAYLAND_DISPLAY \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$XS_TMP/no-bus" "$IDLE_RUNNER" --idle-time 1
  xsession_wait_exit "$name" "$IDLE_END_TIMEOUT" || { fail "$name: ends at once"; return; }
  check_eq "$name: ends with 1" 1 "$XS_EXIT_CODE"
  check "$name: says what is missing in one line ($(xsession_stderr "$name"))" one_line "$name"
}

run_show_and_input() {
  local name=runner
  idle_start_runner "$name"
  if idle_wait_shows "$name" 1; then
    pass "$name: starts the show after ${IDLE_TIME}s idle"
  else
    fail "$name: starts the show after ${IDLE_TIME}s idle" "stderr: $(xsession_stderr "$name")"
    return
  fi
  SHOW_WINDOW=$(xsession_wait_window '^Quorvel 3D$' "$SHOW_WINDOW_TIMEOUT")
  show_check_covers_display "$name"
  show_check_frames "$name"

  xsession_spawn second "$XS_TMP" "$IDLE_RUNNER" --idle-time 1
  if xsession_wait_exit second "$IDLE_END_TIMEOUT"; then
    check_eq "second: a second runner in the session refuses, with 1" 1 "$XS_EXIT_CODE"
    check "second: says so in one line ($(xsession_stderr second))" one_line second
  else
    fail "second: a second runner in the session refuses"
  fi
  check_eq "second: the first one's show runs on" 1 "$(xs_children_of "$(xsession_pid "$name")" | wc -l)"

  idle_expect_shows_end "$name" "a middle click, which the show itself ignores," xdotool click 2
  idle_wait_shows "$name" 1 || fail "$name: starts the show again after the next idle time"
  idle_expect_shows_end "$name" "a key" xdotool key space
  idle_expect_inhibited "$name" 1 "" bash -c reset_idle_timer

  # A signal ends the runner and its show together, by that signal.
  local show=${IDLE_SHOWS[0]:-}
  kill -TERM "$(xsession_pid "$name")"
  if xsession_wait_exit "$name" "$IDLE_END_TIMEOUT"; then
    check_eq "$name: ends by SIGTERM" $((128 + 15)) "$XS_EXIT_CODE"
  else
    fail "$name: ends after SIGTERM"
  fi
  check "$name: its show has ended with it" xs_gone "$show"
}

# A show that cannot start, or that crashes, is told in one line; the
# runner waits for the next idle time and starts it once then, not over
# and over.
run_bad_shows() {
  local crash="$XS_TMP/crashing-show" name
  printf '#!/bin/sh\nkill -SEGV $$\n' >"$crash"
  chmod +x "$crash"
  for name in missing-show crashing-show; do
    local program=$crash
    [ "$name" = missing-show ] && program="$XS_TMP/no-such-show"
    xsession_spawn "$name" "$XS_TMP" "$IDLE_RUNNER" --idle-time "$IDLE_TIME" --show "$program"
    sleep $((IDLE_TIME * 3))
    check "$name: the runner waits on" xsession_running "$name"
    check_eq "$name: tells it in one line" 1 \
      "$(grep -c -e 'cannot start' -e 'ended by signal 11' "$XS_ARTEFACTS/$name.err")"
    xdotool click 2
    sleep $((IDLE_TIME * 2))
    check_eq "$name: tries again after the next idle time" 2 \
      "$(grep -c -e 'cannot start' -e 'ended by signal 11' "$XS_ARTEFACTS/$name.err")"
    xs_stop_pid "$(xsession_pid "$name")"
  done
}

xs_daemon_answers() { as_saver_user xscreensaver-command -version >/dev/null 2>&1; }

run_with_daemon() {
  local name=with-daemon
  saver_home_make qv-idle
  saver_prefs_write "$IDLE_SHOW --root"
  saver_command xscreensaver -no-splash
  xsession_spawn daemon "$SAVER_HOME" "${SAVER_COMMAND[@]}"
  xs_poll "$DAEMON_TIMEOUT" xs_daemon_answers || { fail "xscreensaver answers" "$(xsession_stderr daemon)"; return; }
  xsession_spawn "$name" "$XS_TMP" "$IDLE_RUNNER" --idle-time 1
  if xsession_wait_exit "$name" "$IDLE_END_TIMEOUT"; then
    check_eq "$name: leaves the session to xscreensaver, with 0" 0 "$XS_EXIT_CODE"
    check "$name: says so in one line ($(xsession_stderr "$name"))" one_line "$name"
  else
    fail "$name: leaves the session to xscreensaver"
  fi
  xs_stop_pid "$(xsession_pid daemon)"
}

run_display_gone() {
  local name=display-gone
  idle_start_runner "$name"
  idle_wait_shows "$name" 1 || { fail "$name: starts the show"; return; }
  { kill -KILL "$XS_SERVER_PID" && wait "$XS_SERVER_PID"; } 2>/dev/null
  if xsession_wait_exit "$name" "$IDLE_END_TIMEOUT"; then
    check_eq "$name: ends with 0 once the X server has gone" 0 "$XS_EXIT_CODE"
  else
    fail "$name: ends once the X server has gone"
  fi
  check_eq "$name: says so in one line besides its first" 2 "$(grep -c '^quorvel3d-idle: ' "$XS_ARTEFACTS/$name.err")"
  check_eq "$name: leaves no show behind" "" "$(pgrep -f "^$IDLE_SHOW( |$)" | tr '\n' ' ')"
}

hack_require_build
idle_require_build
xsession_settings_dword PixelsUsed 256
xsession_runtime_dir
run_without_idle_time
xsession_start 800x600 -ac
xsession_start_wm
run_show_and_input
run_bad_shows
run_with_daemon
run_display_gone

xsession_finish
