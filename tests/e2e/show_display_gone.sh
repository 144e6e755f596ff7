#!/usr/bin/env bash
# The display going away under the show: qvshow, quorvel3d in a window of
# its own and on the root, and Quorvel3D /s with its show each end at once
# with 0 and one line when the X server is killed, leaving no process; and
# quorvel3d at its busiest (4096 balls at 1920x1080) ends with 0 when the
# window it was handed is destroyed.
source "$(dirname "$0")/hack_lib.sh"

LAUNCHER="$QV_STAGE_DIR/Quorvel3D"
GONE_TIMEOUT=10 # seconds; they end in a fraction of one
RUNNING=3       # seconds the show runs before its display goes

unset QT_QPA_PLATFORM # the launcher on the real X server
xsession_runtime_dir
xsession_lsan_suppressions "$(dirname "$0")/launcher_lsan.supp"

no_show_left() { ! pgrep -f "^($QV_STAGE_DIR/|\./)(qvshow|quorvel3d)( |$)" >/dev/null; }

# Starts the server again: the one before was killed.
fresh_server() {
  rm -f "$XS_TMP/display-number"
  XS_SERVER_PID=""
  xsession_start "$1"
  xsession_start_wm
}

run_display_gone() {
  local name=$1 dir=$2; shift 2
  fresh_server 800x600
  xsession_spawn "$name" "$dir" "${SHOW_SPAWN_ENV[@]}" "$@"
  sleep "$RUNNING"
  check "$name: runs" xsession_running "$name"
  { kill -KILL "$XS_SERVER_PID" && wait "$XS_SERVER_PID"; } 2>/dev/null
  if xsession_wait_exit "$name" "$GONE_TIMEOUT"; then
    check_eq "$name: ends with 0 once the X server has gone" 0 "$XS_EXIT_CODE"
  else
    fail "$name: ends once the X server has gone"
  fi
  check_eq "$name: says so in one line" 1 "$(wc -l <"$XS_ARTEFACTS/$name.err")"
  check "$name: leaves no show behind" xs_poll "$GONE_TIMEOUT" no_show_left
}

run_host_gone_when_busiest() {
  local name=busiest
  fresh_server 1920x1080
  xsession_settings_dword PixelsUsed 4096
  hack_host_window busiest-host 1920 1080 || return
  hack_start "$name" --window-id "$HOST_WINDOW"
  hack_check_draws "$name" "$(hack_area "$HOST_WINDOW")" "4096 balls at 1920x1080"
  xs_stop_pid "$(xsession_pid busiest-host)"
  if xsession_wait_exit "$name" "$GONE_TIMEOUT"; then
    check_eq "$name: ends with 0 when its window is destroyed" 0 "$XS_EXIT_CODE"
  else
    fail "$name: ends when its window is destroyed"
  fi
  show_expect_quiet "$name"
}

hack_require_build
xsession_settings_dword PixelsUsed 256
run_display_gone qvshow "$QV_STAGE_DIR" "$QVSHOW"
run_display_gone quorvel3d / "$QV_HACK"
run_display_gone quorvel3d-root / "$QV_HACK" --root
if [ -x "$LAUNCHER" ]; then
  xsession_settings_text InstallDir "$QV_STAGE_DIR/"
  run_display_gone launcher "$XS_TMP" "$LAUNCHER" /s
fi
run_host_gone_when_busiest

xsession_finish
