#!/usr/bin/env bash
# The idle runner as a desktop carries it, and how soon it shows:
#   1. while it waits (idle time one hour), its wake-ups over MEASURE
#      seconds and its resident memory, under sway headless and on Xvfb
#      (the X server's MIT-SCREEN-SAVER extension);
#   2. from the moment sway's idle time runs out to the show's first frame
#      on screen, one 1280x720 output, 1024 balls: each round starts a new
#      runner with a 1-second idle time, and the show, preloaded with
#      libqvswapcount.so, says when its first frame was swapped.
# Figures only; what the show drew is read back from its own calls.
# Usage: [ROUNDS=5] [MEASURE=60] bench/idle_runner.sh BUILD_DIR
set -uo pipefail

BUILD_DIR=$(cd "${1:?usage: idle_runner.sh BUILD_DIR}" && pwd)
export QV_BUILD_DIR=$BUILD_DIR QV_STAGE_DIR=$BUILD_DIR/stage
# shellcheck source=../tests/e2e/hack_lib.sh
source "$(dirname "$0")/../tests/e2e/hack_lib.sh"
# shellcheck source=../tests/e2e/idle_lib.sh
source "$(dirname "$0")/../tests/e2e/idle_lib.sh"

SWAP_COUNTER=$BUILD_DIR/bench/libqvswapcount.so
ROUNDS=${ROUNDS:-5}
MEASURE=${MEASURE:-60}
SETTLE=2 # seconds after the start before measuring

wakeups() { awk '/^voluntary_ctxt_switches/ { v = $2 } /^nonvoluntary_ctxt_switches/ { n = $2 } END { print v + n }' "/proc/$1/status"; }
resident() { awk '/^VmRSS/ { print $2 / 1024 }' "/proc/$1/status"; }

# Prints the wake-ups a second and the resident size of runner NAME.
waiting_figures() {
  local name=$1 pid before
  pid=$(xsession_pid "$name")
  sleep "$SETTLE"
  before=$(wakeups "$pid")
  sleep "$MEASURE"
  awk -v w="$(($(wakeups "$pid") - before))" -v s="$MEASURE" -v r="$(resident "$pid")" \
    'BEGIN { printf "%.3f wake-ups a second over %d s, %.1f MiB resident", w / s, s, r }'
}

first_frame_said() { grep -qs 'first frame .* after the start' "$XS_ARTEFACTS/$1.err"; }

[ -e "$SWAP_COUNTER" ] || { echo "build the target qvswapcount first" >&2; exit 1; }
idle_require_build
xsession_settings_dword PixelsUsed 1024

OUTPUT_SIZES=(1280x720) COMP_OUTPUTS=1 comp_start_sway
xsession_spawn waiting-sway "$XS_TMP" "$IDLE_RUNNER" --idle-time 1h --show "$IDLE_SHOW"
figures=$(waiting_figures waiting-sway)
printf 'sway, waiting (%s): %s\n' "$(sed -n 's/.*as \(.*\) tells it/\1/p' "$XS_ARTEFACTS/waiting-sway.err")" "$figures"
xs_stop_pid "$(xsession_pid waiting-sway)"

# One round: a new runner with a 1-second idle time; prints the seconds
# from the idle time's end to the first frame. sway's idle time counts
# from the runner's request for it, a moment after the start: the figure
# is if anything too long.
one_round() {
  local name=$1
  xsession_spawn "$name" "$XS_TMP" env "LD_PRELOAD=$SWAP_COUNTER" \
    "QV_STARTED_AT=$(($(date +%s%N) + 1000000000))" "$IDLE_RUNNER" --idle-time 1 --show "$IDLE_SHOW"
  xs_poll 30 first_frame_said "$name" || { echo "$name: no frame" >&2; return; }
  sed -n 's/.*first frame \(-\?[0-9.]*\) s after the start.*/\1/p' "$XS_ARTEFACTS/$name.err"
  sed -n 's/.*first frame drew //p' "$XS_ARTEFACTS/$name.err" | head -n1 >"$XS_TMP/drawn"
  xs_stop_pid "$(xsession_pid "$name")"
  wtype -k space
  sleep 1 # XWayland stops a moment after its last client
}

summary() {
  sort -n | awk '{ v[NR] = $1 } END { printf "median %.3f s (%.3f to %.3f, %d rounds)", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

# sway starts XWayland for the first X client and stops it after the last:
# rounds in turn with XWayland to start and with it running (an X client
# kept open).
cold=() warm=()
for round in $(seq "$ROUNDS"); do
  cold+=("$(one_round "cold-$round")")
  xsession_spawn "x-client-$round" "$XS_TMP" "$QV_PROBE" window 1 1
  sleep 1
  warm+=("$(one_round "warm-$round")")
  xs_stop_pid "$(xsession_pid "x-client-$round")"
done
printf 'sway, from the idle time'"'"'s end to the first frame (%s)\n' "$(cat "$XS_TMP/drawn" 2>/dev/null || echo nothing drawn)"
printf '  XWayland started on demand: %s\n' "$(printf '%s\n' "${cold[@]}" | grep . | summary)"
printf '  XWayland already running:   %s\n' "$(printf '%s\n' "${warm[@]}" | grep . | summary)"
xs_stop_pid "$(xsession_pid compositor)"

xsession_start 1280x720
xsession_runtime_dir
xsession_spawn waiting-x11 "$XS_TMP" "$IDLE_RUNNER" --idle-time 1h --show "$IDLE_SHOW"
figures=$(waiting_figures waiting-x11)
printf 'Xvfb, waiting (%s): %s\n' "$(sed -n 's/.*as \(.*\) tells it/\1/p' "$XS_ARTEFACTS/waiting-x11.err")" "$figures"
