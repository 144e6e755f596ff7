#!/usr/bin/env bash
# How the show behaves on a desktop, measured under Xvfb with openbox:
#   1. CPU while its window is inactive (another window has the focus), and
#      how often it wakes up then;
#   2. the frames it shows per second and how evenly, where the driver does
#      not wait for the vertical blank (Mesa's software driver under Xvfb),
#      on a small screen with no sky box, where drawing is cheap: with the
#      fewest balls, or as many as PIXELS says.
# Usage: [PIXELS=4096] bench/good_citizen.sh BUILD_DIR [OTHER_STAGE_DIR]
# OTHER_STAGE_DIR, a stage folder of another build (an older one), is
# measured the same way for comparison. Figures only; nothing is judged.
set -uo pipefail

BUILD_DIR=$(cd "${1:?usage: good_citizen.sh BUILD_DIR [OTHER_STAGE_DIR]}" && pwd)
OTHER_STAGE=${2:-}
export QV_BUILD_DIR=$BUILD_DIR QV_STAGE_DIR=$BUILD_DIR/stage
# shellcheck source=../tests/e2e/show_lib.sh
source "$(dirname "$0")/../tests/e2e/show_lib.sh"

SWAP_COUNTER=$BUILD_DIR/bench/libqvswapcount.so
SETTLE=3          # seconds after the window appears before measuring
MEASURE=10        # seconds measured
CLOCK_TICKS=$(getconf CLK_TCK)
PIXELS=${PIXELS:-256}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ { v = $2 } /^nonvoluntary_ctxt_switches/ { n = $2 } END { print v + n }' "/proc/$1/status"; }

# Prints "CPU% wakeups-per-second" of PID over MEASURE seconds.
measure_cpu() {
  local pid=$1 ticks wakes
  ticks=$(cpu_ticks "$pid") wakes=$(wakeups "$pid")
  sleep "$MEASURE"
  awk -v t="$(($(cpu_ticks "$pid") - ticks))" -v w="$(($(wakeups "$pid") - wakes))" -v hz="$CLOCK_TICKS" -v s="$MEASURE" \
    'BEGIN { printf "%.2f %% of one core, %.0f wake-ups per second\n", 100 * t / hz / s, w / s }'
}

thief_window_id() { [ -s "$XS_ARTEFACTS/focus-thief.out" ]; }

inactive_cpu() {
  local label=$1 stage=$2 other
  xsession_spawn "$label" "$stage" "$stage/qvshow"
  show_wait_window "$label" || return
  sleep "$SETTLE"
  xsession_spawn focus-thief "$XS_TMP" "$QV_PROBE" window 200 200
  xs_poll 10 thief_window_id || return
  other=$(xsession_stdout focus-thief)
  xdotool windowactivate --sync "$other" >/dev/null 2>&1 || xdotool windowfocus "$other"
  sleep 1
  printf '%-8s inactive (focus elsewhere): %s\n' "$label" "$(measure_cpu "$(xsession_pid "$label")")"
  xs_stop_pid "$(xsession_pid focus-thief)"
  xs_stop_pid "$(xsession_pid "$label")"
}

active_pacing() {
  local label=$1 stage=$2
  xsession_spawn "$label-paced" "$stage" env "LD_PRELOAD=$SWAP_COUNTER" "$stage/qvshow"
  show_wait_window "$label-paced" || return
  xsession_key_to "$SHOW_WINDOW" >/dev/null 2>&1
  sleep "$SETTLE"
  printf '%-8s drawing: %s\n' "$label" "$(measure_cpu "$(xsession_pid "$label-paced")")"
  xsession_key Escape # not a signal: an older show would die of it before printing
  xsession_wait_exit "$label-paced" 10 >/dev/null 2>&1 || true
  # What the show drew, as read back from its calls, and how often.
  grep -h qvswapcount "$XS_ARTEFACTS/$label-paced.err" | sed "s/^/$(printf '%-8s ' "$label")/" ||
    printf '%-8s no frame count\n' "$label"
}

[ -e "$SWAP_COUNTER" ] || { echo "build the target qvswapcount first" >&2; exit 1; }
show_require_build
xsession_settings_dword PixelsUsed "$PIXELS"
xsession_settings_dword UseBackground 0
xsession_start 320x240
xsession_start_wm

stages=("this:$QV_STAGE_DIR")
[ -n "$OTHER_STAGE" ] && stages+=("other:$(cd "$OTHER_STAGE" && pwd)")
for entry in "${stages[@]}"; do
  inactive_cpu "${entry%%:*}" "${entry#*:}"
  active_pacing "${entry%%:*}" "${entry#*:}"
done
