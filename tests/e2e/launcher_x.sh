# Helpers for the launcher's end-to-end scripts: a private X server with a
# window manager, a private settings folder, key presses and screenshots.
# Source it; it sets DISPLAY, XDG_CONFIG_HOME and XDG_CONFIG_DIRS.

set -euo pipefail

: "${QV_STAGE_DIR:?}"
: "${QV_BUILD_DIR:?}"

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/qv-e2e-XXXXXX")
E2E_ARTIFACTS="$QV_BUILD_DIR/e2e-artifacts"
mkdir -p "$E2E_ARTIFACTS" "$E2E_WORK/config/quorvel3d" "$E2E_WORK/system"
export XDG_CONFIG_HOME="$E2E_WORK/config"
export XDG_CONFIG_DIRS="$E2E_WORK/system"
export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/launcher_lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
SETTINGS_FILE="$XDG_CONFIG_HOME/quorvel3d/settings.reg"

E2E_PIDS=()

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${E2E_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to $1 tenths of a second for the command in the other arguments.
wait_for() {
  local tenths=$1
  shift
  local i
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

start_x() {
  local n
  for ((n = 71; n < 171; n++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    if wait_for 100 xdpyinfo -display ":$n"; then
      export DISPLAY=":$n"
      openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
      E2E_PIDS+=($!)
      wait_for 100 xprop -root _NET_SUPPORTING_WM_CHECK || fail "openbox did not start"
      sleep 1 # the window manager announces itself a moment before it manages windows
      return 0
    fi
    kill "${E2E_PIDS[-1]}" 2>/dev/null || true
  done
  fail "no X display could be started"
}

# The id of the visible window with the exact title $1, waiting for it.
window_named() {
  local id=""
  local i
  for ((i = 0; i < 200; i++)); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window \"$1\""
  echo "$id"
}

# Gives the window the keyboard and presses the keys in order.
press_keys() {
  local window=$1
  shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
  xdotool key --delay 60 "$@"
}

screenshot() {
  xwd -root -display "$DISPLAY" | convert xwd:- "png:$E2E_ARTIFACTS/$1.png"
  echo "screenshot: $E2E_ARTIFACTS/$1.png"
}

# Waits for the background process $1 to end and sets EXIT_CODE. It must
# run in this shell, the process's parent, not in a subshell.
wait_exit() {
  EXIT_CODE=0
  wait "$1" || EXIT_CODE=$?
}

# The settings key's file with its header and the given value lines.
write_settings() {
  {
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\n'
    printf '%s\n' "$@"
  } >"$SETTINGS_FILE"
}

expect_setting() {
  grep -qxF "$1" "$SETTINGS_FILE" || {
    cat "$SETTINGS_FILE" >&2
    fail "settings do not hold $1"
  }
}
