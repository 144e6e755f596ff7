#!/usr/bin/env bash
# quorvel3d under the real xscreensaver daemon: a ~/.xscreensaver that lists
# only our program, "xscreensaver-command -activate" shows the swarm,
# "-cycle" stops that run by SIGTERM, which the daemon logs as a normal end,
# "-deactivate" ends it and leaves no process behind. The daemon starts no
# programs for root, so as root the daemon runs as a test user.
source "$(dirname "$0")/hack_lib.sh"

SAVER_USER=qvsaver
DAEMON_TIMEOUT=30 # seconds for the daemon to answer, or a program to start or go
# shellcheck source=saver_user_lib.sh
source "$(dirname "$0")/saver_user_lib.sh"

# The program and its pictures go into the user's home: the build folder
# may be closed to other users. It finds the pictures beside itself.
make_saver_home() {
  saver_home_make qv-saver
  mkdir -p "$SAVER_HOME/hack"
  cp -r "$QV_HACK" "$QV_STAGE_DIR/data01" "$QV_STAGE_DIR/data" "$SAVER_HOME/hack/"
  saver_prefs_write "$SAVER_HOME/hack/quorvel3d --root"
  chmod -R a+rX "$SAVER_HOME"
  [ "$(id -u)" -eq 0 ] && chown -R "$SAVER_USER:" "$SAVER_HOME"
  return 0
}

xs_daemon_answers() { as_saver_user xscreensaver-command -version >/dev/null 2>&1; }
xs_hack_pids() { pgrep -u "$(saver_user)" -x quorvel3d; }
xs_hack_runs() { xs_hack_pids >/dev/null; }
xs_hack_gone() { ! xs_hack_runs; }

hack_require_build
xsession_start 1024x768 -ac
make_saver_home

saver_command xscreensaver -no-splash -verbose
xsession_spawn daemon "$SAVER_HOME" "${SAVER_COMMAND[@]}"
xs_poll "$DAEMON_TIMEOUT" xs_daemon_answers || { fail "the daemon answers" "$(xsession_stderr daemon)"; xsession_finish; }

as_saver_user xscreensaver-command -activate >/dev/null
if xs_poll "$DAEMON_TIMEOUT" xs_hack_runs; then
  pass "-activate starts quorvel3d (pid $(xs_hack_pids | tr '\n' ' '))"
  if show_wait_balls activated; then
    pass "the screen shows the swarm ($SHOW_SHOT)"
  else
    fail "the screen shows the swarm" "last screenshot: $SHOW_SHOT"
  fi
  check "the program says nothing" bash -c "! grep -q 'quorvel3d:' '$XS_ARTEFACTS/daemon.err' '$XS_ARTEFACTS/daemon.out'"
else
  fail "-activate starts quorvel3d" "daemon log: $XS_ARTEFACTS/daemon.err"
fi

# The daemon stops its programs with SIGTERM and expects them to die of it;
# it logs how a run ended when it moves on to the next one.
xs_daemon_saw_end() { grep -q 'quorvel3d) exited normally with SIGTERM' "$XS_ARTEFACTS/daemon.err"; }
as_saver_user xscreensaver-command -cycle >/dev/null
if xs_poll "$DAEMON_TIMEOUT" xs_daemon_saw_end; then
  pass "-cycle ends the run in a way the daemon logs as normal"
else
  fail "-cycle ends the run in a way the daemon logs as normal" "$(grep 'child pid' "$XS_ARTEFACTS/daemon.err" | tail -n 3)"
fi

as_saver_user xscreensaver-command -deactivate >/dev/null
if xs_poll "$DAEMON_TIMEOUT" xs_hack_gone; then
  pass "-deactivate ends quorvel3d and leaves no process"
else
  fail "-deactivate ends quorvel3d and leaves no process" "still running: $(xs_hack_pids | tr '\n' ' ')"
fi

xsession_finish
