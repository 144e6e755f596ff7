#!/usr/bin/env bash
# The show and a screen locker on Xorg, whose video modes would let a
# full-screen program switch modes and grab the input: qvshow and
# Quorvel3D /s, with openbox and without a window manager. While the show
# runs, another client can grab the keyboard and the pointer and the
# screen's mode stays as it was; a locker started meanwhile locks over it
# and stays on top, and the show rests under it; once the locker ends, the
# show draws again, and a key ends it with nothing left behind. quorvel3d
# in a window it is handed grabs nothing either.
XS_SERVER=${XS_SERVER:-xorg}
source "$(dirname "$0")/hack_lib.sh"

LAUNCHER="$QV_STAGE_DIR/Quorvel3D"
LOCKER_COLOUR=ff0000
LOCKER_TIMEOUT=10     # seconds for the locker to cover the screen
LOCKED_SHARE=0.99     # of the screen in the locker's colour
REST_SECONDS=5
REST_MOST_CPU=1       # percent of a core while locked over
FREE_GRABS="keyboard ok pointer ok"

unset QT_QPA_PLATFORM # the launcher on the real X server
xsession_runtime_dir
xsession_lsan_suppressions "$(dirname "$0")/launcher_lsan.supp"

current_mode() { xrandr --current | awk '/\*/ { print $1; exit }'; }

xs_locked() {
  xsession_screenshot "$1" &&
    awk -v f="$(img_colour_share "$1" "#$LOCKER_COLOUR")" -v min="$LOCKED_SHARE" 'BEGIN { exit !(f >= min) }'
}

# Starts the show as NAME, by itself or through the launcher, and sets
# SHOW_PID.
start_show() {
  local name=$1 how=$2
  SHOW_PID=""
  if [ "$how" = launcher ]; then
    xsession_settings_clear
    xsession_settings_text InstallDir "$QV_STAGE_DIR/"
    xsession_spawn "$name" "$XS_TMP" "${SHOW_SPAWN_ENV[@]}" "$LAUNCHER" /s
    xsession_wait_child "$name" qvshow "$SHOW_WINDOW_TIMEOUT" || {
      fail "$name: the launcher starts qvshow" "stderr: $(xsession_stderr "$name")"
      return 1
    }
    SHOW_PID=$(xsession_pid "$name/qvshow")
    show_wait_window "$name" || return
  else
    show_start "$name" || return
    SHOW_PID=$(xsession_pid "$name")
  fi
}

locked_over() {
  local name=$1 shot="$XS_ARTEFACTS/$1-locked.png"
  xsession_spawn "$name-locker" "$XS_TMP" i3lock -n -c "$LOCKER_COLOUR"
  if xs_poll "$LOCKER_TIMEOUT" xs_locked "$shot"; then
    pass "$name: the locker covers the screen in its colour ($shot)"
  else
    fail "$name: the locker covers the screen in its colour" "last screenshot: $shot" \
      "locker: $(xsession_stderr "$name-locker")"
  fi
  check_num "$name: the show rests while locked over (% of a core over ${REST_SECONDS}s)" \
    "$(show_cpu_percent "$SHOW_PID" "$REST_SECONDS")" '<' "$REST_MOST_CPU"
  check "$name: the locker still runs" xsession_running "$name-locker"
  check "$name: the locker is still on top" xs_locked "$XS_ARTEFACTS/$1-still-locked.png"
  xs_stop_pid "$(xsession_pid "$name-locker")"
  if show_draws_on "$name-unlocked"; then
    pass "$name: draws again once the locker has ended"
  else
    fail "$name: draws again once the locker has ended"
  fi
}

run_locked_show() {
  local name=$1 how=$2 mode
  mode=$(current_mode)
  start_show "$name" "$how" || return
  show_check_covers_display "$name"
  show_check_frames "$name" || return
  check_eq "$name: another client can grab the keyboard and the pointer" "$FREE_GRABS" "$("$QV_PROBE" grabs)"
  check_eq "$name: the screen keeps its mode" "$mode" "$(current_mode)"
  locked_over "$name"
  xsession_key space
  show_expect_end "$name" "a key press"
  check "$name: the show has ended" xs_gone "$SHOW_PID"
}

run_hack_in_window() {
  local name=hack-in-window
  hack_host_window hack-host 640 360 || return
  hack_start "$name" --window-id "$HOST_WINDOW"
  hack_check_draws "$name" "$(hack_area "$HOST_WINDOW")" "in the window it was handed"
  check_eq "$name: another client can grab the keyboard and the pointer" "$FREE_GRABS" "$("$QV_PROBE" grabs)"
  kill -TERM "$(xsession_pid "$name")"
  hack_expect_term_end "$name"
  xs_stop_pid "$(xsession_pid hack-host)"
}

hack_require_build
command -v i3lock >/dev/null || xsession_skip "i3lock is not installed (tools/install-deps installs it)"
xsession_start 1280x720

hows=(qvshow)
if [ -x "$LAUNCHER" ]; then hows+=(launcher); else xs_log "no $LAUNCHER: Quorvel3D /s is not tried"; fi
for how in "${hows[@]}"; do run_locked_show "$how-no-wm" "$how"; done
run_hack_in_window
xsession_start_wm
for how in "${hows[@]}"; do run_locked_show "$how-openbox" "$how"; done

xsession_finish
