#!/usr/bin/env bash
# Quorvel3D /s starts the show from the install folder and waits for it; a
# key press ends the show, and both end with 0. Without a show program, or
# with an empty install folder, the launcher says so in one line on stderr
# (no display to show a box on) and still ends with 0. /p ends at once and
# changes nothing. SIGTERM to the launcher ends the show too.
source "$(dirname "$0")/show_lib.sh"

LAUNCHER="$QV_STAGE_DIR/Quorvel3D"
LAUNCHER_EXIT_TIMEOUT=30 # seconds for a launcher that has nothing to wait for
NOT_FOUND="Quorvel3D: Error: Executable module not found! Please reinstall the application!"

unset QT_QPA_PLATFORM # the real X server, never Qt's off-screen stand-in
xsession_runtime_dir
xsession_lsan_suppressions "$(dirname "$0")/launcher_lsan.supp"

# Runs the launcher as NAME in the temp folder and expects it to end with 0
# by itself.
launcher_run() {
  local name=$1; shift
  xsession_spawn "$name" "$(xsession_temp_dir)" "$@"
  if ! xsession_wait_exit "$name" "$LAUNCHER_EXIT_TIMEOUT"; then
    fail "$name: ends by itself" "stderr: $(xsession_stderr "$name")"
    return 1
  fi
  check_eq "$name: ends with 0" 0 "$XS_EXIT_CODE"
}

# The install folder holds no show. PATH is cut down so that no qvshow on
# the user's PATH can stand in for it.
run_missing_show() {
  local name=missing-show empty
  empty="$(xsession_temp_dir)/empty"
  mkdir -p "$empty"
  xsession_settings_clear
  xsession_settings_text InstallDir "$empty/"
  launcher_run "$name" env -u DISPLAY PATH=/usr/bin:/bin "$LAUNCHER" /s || return
  check_eq "$name: says so in one line on stderr" "$NOT_FOUND" "$(xsession_stderr "$name")"
  check_eq "$name: prints nothing on stdout" "" "$(xsession_stdout "$name")"
}

# An empty InstallDir names no folder: a qvshow in the folder the launcher
# was started in is not run.
run_empty_install_dir() {
  local name=empty-install-dir here marker
  here="$(xsession_temp_dir)"
  marker="$here/started-from-here"
  printf '#!/bin/sh\ntouch "%s"\n' "$marker" >"$here/qvshow"
  chmod +x "$here/qvshow"
  xsession_settings_clear
  xsession_settings_text InstallDir ""
  launcher_run "$name" env -u DISPLAY PATH=/usr/bin:/bin "$LAUNCHER" /s || return
  check_eq "$name: says the show is not found" "$NOT_FOUND" "$(xsession_stderr "$name")"
  if [ -e "$marker" ]; then
    fail "$name: runs no qvshow from the current folder"
  else
    pass "$name: runs no qvshow from the current folder"
  fi
  rm -f "$here/qvshow"
}

run_preview() {
  local name=preview file before
  file=$(xsession_settings_file)
  before=$(cat "$file")
  launcher_run "$name" "$LAUNCHER" /p 1234 || return
  check_eq "$name: leaves the settings as they were" "$before" "$(cat "$file")"
}

# The switch in capitals: the launcher takes either case.
# Starts the launcher as NAME with SWITCH and waits for its show.
start_launcher_show() {
  local name=$1 switch=$2
  xsession_settings_clear
  xsession_settings_text InstallDir "$QV_STAGE_DIR/"
  xsession_spawn "$name" "$(xsession_temp_dir)" "${SHOW_SPAWN_ENV[@]}" "$LAUNCHER" "$switch"
  if ! xsession_wait_child "$name" qvshow "$SHOW_WINDOW_TIMEOUT"; then
    fail "$name: the launcher starts qvshow" "stderr: $(xsession_stderr "$name")"
    return 1
  fi
}

run_show() {
  local name=show pid
  start_launcher_show "$name" /S || return
  pass "$name: the launcher starts qvshow"
  pid=$(xsession_pid "$name/qvshow")
  check_eq "$name: the show is the staged program" "$(readlink -f "$QVSHOW")" "$(readlink "/proc/$pid/exe")"
  check_eq "$name: the show runs in the install folder" \
    "$(cd "$QV_STAGE_DIR" && pwd -P)" "$(readlink "/proc/$pid/cwd")"

  show_wait_window "$name" || return
  if show_wait_balls "$name-frame"; then
    pass "$name: the show draws ($SHOW_SHOT)"
  else
    fail "$name: the show draws" "last screenshot: $SHOW_SHOT"
  fi

  xsession_key space
  if xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    check_eq "$name: the launcher ends with 0 after a key press" 0 "$XS_EXIT_CODE"
  else
    fail "$name: a key press ends the show and the launcher" "still running after ${SHOW_EXIT_TIMEOUT}s"
  fi
  if xsession_running "$name/qvshow"; then
    fail "$name: the show has ended with the launcher"
  else
    pass "$name: the show has ended with the launcher"
  fi
  # The launcher ends with 0 whatever the show did; what the show reports
  # reaches the launcher's own output.
  show_expect_quiet "$name"
}

# A launcher told to end while it waits ends the show it started first,
# then itself by the same signal: no show is left covering the screen.
run_stopped_launcher() {
  local name=stopped show
  start_launcher_show "$name" /s || return
  show=$(xsession_pid "$name/qvshow")
  show_wait_window "$name" || return
  kill -TERM "$(xsession_pid "$name")"
  if xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    check_eq "$name: the launcher ends by SIGTERM" $((128 + 15)) "$XS_EXIT_CODE"
  else
    fail "$name: the launcher ends after SIGTERM" "still running after ${SHOW_EXIT_TIMEOUT}s"
  fi
  if xs_poll "$SHOW_EXIT_TIMEOUT" xs_gone "$show"; then
    pass "$name: the show has ended with the launcher"
  else
    fail "$name: the show has ended with the launcher" "qvshow $show still runs"
  fi
}

xsession_start 1280x1024
xsession_start_wm

run_missing_show
run_empty_install_dir
run_preview
[ -x "$QVSHOW" ] || xsession_skip "$QVSHOW is not built"
run_show
run_stopped_launcher

xsession_finish
