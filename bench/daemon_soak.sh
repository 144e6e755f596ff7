#!/usr/bin/env bash
# The screen saver cycled by the real xscreensaver daemon: the daemon, as an
# unprivileged user on a virtual display, runs quorvel3d with a cycle of a
# few seconds, stopping one run with SIGTERM and starting the next, for
# CYCLES cycles (default 200). Then it reports the starts, the clean ends
# (death by the daemon's SIGTERM), the crashes (any other end, any sanitizer
# report), the processes left over and the largest resident size of a run.
#   bench/daemon_soak.sh BUILD-DIR [CYCLES]      (not part of the test run)
# With a sanitizer build, each report lands in the artefacts folder.
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: daemon_soak.sh BUILD-DIR [CYCLES]}" && pwd)
cycles=${2:-200}
export QV_BUILD_DIR=$build QV_STAGE_DIR=$build/stage
source "$root/tests/e2e/xsession.sh"

SAVER_USER=qvsoak
CYCLE_SECONDS=3
SAMPLE_STEP=0.5 # seconds between two looks at the running program
DAEMON_TIMEOUT=30
SOAK_LIMIT=$((cycles * (CYCLE_SECONDS + 4) + 120)) # seconds before giving up
# shellcheck source=../tests/e2e/saver_user_lib.sh
source "$root/tests/e2e/saver_user_lib.sh"

[ -x "$QV_STAGE_DIR/quorvel3d" ] || { echo "build the target quorvel3d in $build first" >&2; exit 1; }

# The program and its pictures in the user's home: the build folder may be
# closed to other users. Sanitizer reports go to a folder the user can write.
make_soak_home() {
  saver_home_make qv-soak
  # A wrapper of the same name hands the program the sanitizers' settings.
  mkdir -p "$SAVER_HOME/hack/bin" "$SAVER_HOME/reports"
  cp -r "$QV_STAGE_DIR/quorvel3d" "$QV_STAGE_DIR/data01" "$QV_STAGE_DIR/data" "$SAVER_HOME/hack/bin/"
  cat >"$SAVER_HOME/hack/quorvel3d" <<RUN
#!/bin/sh
ASAN_OPTIONS=detect_leaks=0:log_path=$SAVER_HOME/reports/asan UBSAN_OPTIONS=print_stacktrace=1:log_path=$SAVER_HOME/reports/ubsan \\
  exec $SAVER_HOME/hack/bin/quorvel3d "\$@"
RUN
  chmod a+x "$SAVER_HOME/hack/quorvel3d"
  saver_prefs_write "$SAVER_HOME/hack/quorvel3d --root" \
    "cycle: $(printf '%d:%02d:%02d' $((CYCLE_SECONDS / 3600)) $((CYCLE_SECONDS / 60 % 60)) $((CYCLE_SECONDS % 60)))"
  chmod -R a+rX "$SAVER_HOME" && chmod a+rwx "$SAVER_HOME/reports"
  [ "$(id -u)" -eq 0 ] && chown -R "$SAVER_USER:" "$SAVER_HOME"
  return 0
}

log() { cat "$XS_ARTEFACTS"/daemon.{out,err} 2>/dev/null; }
count() { log | grep -c "$1"; }
ends() { count 'quorvel3d) \(exited\|unexpectedly\)'; }
hack_pids() { pgrep -u "$(saver_user)" -x quorvel3d; }
daemon_answers() { as_saver_user xscreensaver-command -version >/dev/null 2>&1; }

# Samples each running program's peak resident size until CYCLES runs have
# started and the end of every run but the current one has been logged, or
# time is up. The daemon does not log the end of the run it stops when it
# is deactivated; that one must simply be gone.
largest_kb=0
watch_runs() {
  local deadline=$((SECONDS + SOAK_LIMIT)) pid kb
  while ((SECONDS < deadline)); do
    for pid in $(hack_pids); do
      kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
      [ -n "$kb" ] && ((kb > largest_kb)) && largest_kb=$kb
    done
    (($(count 'forked ".*quorvel3d') > cycles)) && (($(ends) == $(count 'forked ".*quorvel3d') - 1)) && return 0
    sleep "$SAMPLE_STEP"
  done
  return 1
}

xsession_start 1024x768 -ac
make_soak_home
saver_command xscreensaver -no-splash -verbose
xsession_spawn daemon "$SAVER_HOME" "${SAVER_COMMAND[@]}"
xs_poll "$DAEMON_TIMEOUT" daemon_answers || { fail "the daemon answers" "$(xsession_stderr daemon)"; xsession_finish; }

started=$SECONDS
as_saver_user xscreensaver-command -activate >/dev/null
watch_runs || fail "$cycles cycles within ${SOAK_LIMIT}s" "$(log | tail -n 5)"
as_saver_user xscreensaver-command -deactivate >/dev/null
xs_poll "$DAEMON_TIMEOUT" bash -c "! pgrep -u '$(saver_user)' -x quorvel3d >/dev/null"
seconds=$((SECONDS - started))
as_saver_user xscreensaver-command -exit >/dev/null 2>&1
xsession_wait_exit daemon "$DAEMON_TIMEOUT" >/dev/null
sleep 1

starts=$(count 'forked ".*quorvel3d')
clean=$(count 'quorvel3d) exited normally with SIGTERM')
abnormal=$(count 'quorvel3d) exited abnormally')
killed=$(count 'quorvel3d) unexpectedly terminated')
reports=$(find "$SAVER_HOME/reports" -type f | wc -l)
leftover=$(hack_pids | wc -l)
[ "$reports" -eq 0 ] || cp "$SAVER_HOME"/reports/* "$XS_ARTEFACTS/"

printf '== daemon soak: %s cycles of %ss in %ss with %s\n' "$cycles" "$CYCLE_SECONDS" "$seconds" "$build"
printf '%-40s %s\n' "starts" "$starts" "clean ends logged (by the daemon's SIGTERM)" "$clean" \
  "ends by exit (logged abnormal)" "$abnormal" "ends by another signal" "$killed" \
  "sanitizer reports" "$reports" "processes left over" "$leftover" \
  "largest resident size of a run" "$((largest_kb / 1024)) MiB"
check_num "at least $cycles cycles" "$starts" '>' "$cycles"
check_eq "every run before the last ended by SIGTERM, which the daemon logs as normal" "$((starts - 1))" "$clean"
check_eq "no run ended otherwise" 0 "$((abnormal + killed))"
check_eq "no sanitizer report" 0 "$reports"
check_eq "no process left over" 0 "$leftover"
xsession_finish
