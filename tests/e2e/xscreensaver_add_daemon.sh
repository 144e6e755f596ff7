#!/usr/bin/env bash
# What quorvel3d-xscreensaver-add writes, read by the real xscreensaver
# daemon: added to a list of two, our entry is number 3 and runs with --root
# in the daemon's window, while number 1 still runs what it ran before; in a
# file the command created, the daemon runs us as number 1 and its own
# screen savers after. A stand-in named quorvel3d records how it was run.
# The daemon starts no programs for root, so as root it runs as a test user.
source "$(dirname "$0")/xsession.sh"

ADD_COMMAND=${1:?usage: xscreensaver_add_daemon.sh PATH-TO-quorvel3d-xscreensaver-add}
SAVER_USER=qvlister
DAEMON_TIMEOUT=30 # seconds for the daemon to answer, or a program to start
# shellcheck source=saver_user_lib.sh
source "$(dirname "$0")/saver_user_lib.sh"

make_home() {
  saver_home_make qv-lister
  SAVER_PATH="$SAVER_HOME/bin:/usr/bin:/bin" # the stand-in first
  mkdir -p "$SAVER_HOME/bin"
  cat >"$SAVER_HOME/bin/quorvel3d" <<'STAND_IN'
#!/bin/sh
while :; do sleep 1; done
STAND_IN
  chmod -R a+rX "$SAVER_HOME" && chmod a+x "$SAVER_HOME/bin/quorvel3d"
  [ "$(id -u)" -eq 0 ] && chown -R "$SAVER_USER:" "$SAVER_HOME"
  return 0
}

# Quiet settings, then the list as xscreensaver-settings writes it.
write_two_hacks() {
  printf '%b' 'mode:\t\tone\nselected:\t0\ntimeout:\t1:00:00\nlock:\t\tFalse\n' \
    'fade:\t\tFalse\nunfade:\t\tFalse\nsplash:\t\tFalse\ndpmsEnabled:\tFalse\n\n' \
    'programs:\t\t\t\t\t\t\t\t      \\\n' \
    '\t\t\t\tmaze --root\t\t\t\t    \\n\\\n' \
    '  GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n' \
    '\n\npointerHysteresis:\t10\n' >"$SAVER_HOME/.xscreensaver"
  [ "$(id -u)" -eq 0 ] && chown "$SAVER_USER:" "$SAVER_HOME/.xscreensaver"
  return 0
}

running_pid() { pgrep -u "$(saver_user)" -x "$1" | head -n1 | grep .; }
is_running() { running_pid "$1" >/dev/null; }
is_gone() { ! is_running "$1"; }

start_daemon() {
  saver_command xscreensaver -no-splash -verbose
  xsession_spawn daemon "$SAVER_HOME" "${SAVER_COMMAND[@]}"
  xs_poll "$DAEMON_TIMEOUT" as_saver_user xscreensaver-command -version >/dev/null 2>&1 ||
    { fail "the daemon answers" "$(xsession_stderr daemon)"; xsession_finish; }
}

stop_daemon() {
  as_saver_user xscreensaver-command -exit >/dev/null 2>&1
  xsession_wait_exit daemon "$DAEMON_TIMEOUT" >/dev/null
  xs_poll "$DAEMON_TIMEOUT" is_gone quorvel3d
}

forks_of() { cat "$XS_ARTEFACTS"/daemon.{out,err} 2>/dev/null | grep -c "forked \"$1 --root\""; }
forked_more() { [ "$(forks_of "$1")" -gt "$2" ]; }

# NUMBER PROGRAM: the daemon's entry NUMBER (from 1) runs PROGRAM, as its
# log says (a stock screen saver may fail at once on a bare X server).
check_select() {
  local number=$1 program=$2 before pid
  before=$(forks_of "$program")
  as_saver_user xscreensaver-command -select "$number" >/dev/null
  if xs_poll "$DAEMON_TIMEOUT" forked_more "$program" "$before"; then
    pass "entry $number runs $program"
  else
    fail "entry $number runs $program" "$(grep forked "$XS_ARTEFACTS"/daemon.{out,err} | tail -n 3)"
    return 1
  fi
  [ "$program" = quorvel3d ] || return 0
  if ! xs_poll "$DAEMON_TIMEOUT" is_running quorvel3d; then
    fail "the stand-in keeps running"
    return 1
  fi
  pid=$(running_pid quorvel3d)
  check "it runs with --root" grep -qx -- '--root' <(tr '\0' '\n' <"/proc/$pid/cmdline")
  check "it is handed the daemon's window" grep -q '^XSCREENSAVER_WINDOW=0x' <(tr '\0' '\n' <"/proc/$pid/environ")
}

xsession_start 800x600 -ac
make_home

write_two_hacks
check "the command adds us to a list of two" grep -q 'Added' <(as_saver_user "$ADD_COMMAND" --file "$SAVER_HOME/.xscreensaver")
start_daemon
check_select 3 quorvel3d
check_select 1 maze
check "quorvel3d ends when another entry is chosen" xs_poll "$DAEMON_TIMEOUT" is_gone quorvel3d
stop_daemon

rm -f "$SAVER_HOME/.xscreensaver"
check "the command creates a missing file" grep -q 'Created' <(as_saver_user "$ADD_COMMAND" --file "$SAVER_HOME/.xscreensaver")
start_daemon
check_select 1 quorvel3d
check_select 2 maze
stop_daemon

xsession_finish
