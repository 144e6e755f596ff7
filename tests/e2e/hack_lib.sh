# What the scripts for quorvel3d, the screen-saver daemons' program, share:
# a window for it to draw into and a look at what it drew there. Sourced.

# shellcheck source=show_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/show_lib.sh"

QV_HACK="$QV_STAGE_DIR/quorvel3d"
HOST_TIMEOUT=10 # seconds for the host window to appear
HOST_WINDOW=""  # set by hack_host_window

hack_require_build() {
  show_require_build
  [ -x "$QV_HACK" ] || { printf 'missing %s: build the target quorvel3d first\n' "$QV_HACK" >&2; exit 1; }
}

xs_host_id_printed() { [ -s "$XS_ARTEFACTS/$1.out" ]; }

# Maps a W x H window ([argb] for a 32-bit visual with alpha) at 0,0 as NAME
# and sets HOST_WINDOW to its id.
hack_host_window() {
  local name=$1; shift
  HOST_WINDOW=""
  xsession_spawn "$name" "$XS_TMP" "$QV_PROBE" window "$@"
  xs_poll "$HOST_TIMEOUT" xs_host_id_printed "$name" || { fail "$name: the host window appears"; return 1; }
  HOST_WINDOW=$(xsession_stdout "$name")
}

# Starts the hack as NAME from "/" (it has to find its pictures itself).
hack_start() {
  local name=$1; shift
  xsession_spawn "$name" / "${SHOW_SPAWN_ENV[@]}" "$QV_HACK" "$@"
}

xs_crop_has_balls() {
  local shot=$1 crop=$2
  xsession_screenshot "$shot" &&
    awk -v f="$(img_coloured_fraction "$shot" "$crop")" -v min="$SHOW_MIN_COLOURED" \
        -v mean="$(img_mean "$shot" "$crop")" -v max="$SHOW_MAX_MEAN" 'BEGIN { exit !(f > min && mean < max) }'
}

# The screen area of window ID as WxH+X+Y; with "grown", only its lower
# right quarter, which a window half its size did not cover.
hack_area() {
  local w h x y
  read -r w h x y < <(xsession_window_geometry "$1")
  if [ "${2:-}" = grown ]; then
    printf '%dx%d+%d+%d\n' $((w / 2)) $((h / 2)) $((x + w / 2)) $((y + h / 2))
  else
    printf '%dx%d+%d+%d\n' "$w" "$h" "$x" "$y"
  fi
}

# Passes once the area CROP (WxH+X+Y) of the screen shows coloured balls on
# a dark sky; the last screenshot is kept as SHOW_SHOT.
hack_check_draws() {
  local name=$1 crop=$2 what=$3
  SHOW_SHOT="$XS_ARTEFACTS/$name-$(printf '%s' "$what" | tr -c '[:alnum:]' -).png"
  if xs_poll "$SHOW_DRAW_TIMEOUT" xs_crop_has_balls "$SHOW_SHOT" "$crop"; then
    pass "$name: draws the swarm $what ($SHOW_SHOT)"
  else
    fail "$name: draws the swarm $what" "area $crop, last screenshot: $SHOW_SHOT" "stderr: $(xsession_stderr "$name")"
  fi
}

# The daemons stop their programs with SIGTERM and take death by it as the
# normal end; NAME was just sent SIGTERM.
hack_expect_term_end() {
  local name=$1
  if xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    check_eq "$name: ends by SIGTERM" $((128 + 15)) "$XS_EXIT_CODE"
  else
    fail "$name: ends after SIGTERM" "still running after ${SHOW_EXIT_TIMEOUT}s"
  fi
}
