#!/usr/bin/env bash
# The show's frame rate with the swarm drawn in one pass against the same
# scene with every billboard drawn by its own node, at 1920x1080 with 4096
# balls, vsync off, with and without the sky box, under Xvfb with openbox.
# The two run in turn, ROUNDS times; the medians and the median of the
# pairwise ratios are printed. Figures only.
# Usage: bench/swarm_drawing.sh BUILD_DIR
set -uo pipefail

BUILD_DIR=$(cd "${1:?usage: swarm_drawing.sh BUILD_DIR}" && pwd)
export QV_BUILD_DIR=$BUILD_DIR QV_STAGE_DIR=$BUILD_DIR/stage
# shellcheck source=../tests/e2e/show_lib.sh
source "$(dirname "$0")/../tests/e2e/show_lib.sh"

ROUNDS=${ROUNDS:-3}
FRAMES=${FRAMES:-300}
SIZE=${SIZE:-1920x1080}
FRAME_RATE=$BUILD_DIR/bench/qvframerate

DRAWN="$XS_TMP/drawn" # what the last run drew, as it read its scene back

# Prints "FPS MAIN_MS" of one run.
one_run() {
  "$FRAME_RATE" --data "$QV_STAGE_DIR" --frames "$FRAMES" "$@" |
    sed -n 's/^[^:]*: [0-9]* frames, \(.*\): \([0-9.]*\) frames per second; main thread \([0-9.]*\) ms.*/\2 \3 \1/p' |
    { read -r fps main drawn && printf '%s\n' "$drawn" >"$DRAWN" && printf '%s %s\n' "$fps" "$main"; }
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

[ -x "$FRAME_RATE" ] || { echo "build the target qvframerate first" >&2; exit 1; }
xsession_start "$SIZE"
xsession_start_wm

for sky in "" --no-sky; do
  one=() node=() ratio=() main=() node_main=()
  for _ in $(seq "$ROUNDS"); do
    read -r a a_main <<<"$(one_run $sky)"
    read -r b b_main <<<"$(one_run --per-node $sky)"
    one+=("$a") node+=("$b") main+=("$a_main") node_main+=("$b_main")
    ratio+=("$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')")
  done
  printf '%s: one pass %s fps (main thread %s ms a frame), node by node %s fps (%s ms): %sx\n' \
    "$(cat "$DRAWN")" "$(printf '%s\n' "${one[@]}" | median)" "$(printf '%s\n' "${main[@]}" | median)" \
    "$(printf '%s\n' "${node[@]}" | median)" "$(printf '%s\n' "${node_main[@]}" | median)" \
    "$(printf '%s\n' "${ratio[@]}" | median)"
done
