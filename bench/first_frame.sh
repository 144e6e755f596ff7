#!/usr/bin/env bash
# How long the show takes from its start to its first frame on screen (its
# first buffer swap), under Xvfb with openbox, at 1920x1080 with 4096 balls
# and the sky box. Each build runs ROUNDS times, in turn with the other one
# when there is one; the median and the range are printed. Figures only.
# Usage: bench/first_frame.sh BUILD_DIR [OTHER_STAGE_DIR]
set -uo pipefail

BUILD_DIR=$(cd "${1:?usage: first_frame.sh BUILD_DIR [OTHER_STAGE_DIR]}" && pwd)
OTHER_STAGE=${2:-}
export QV_BUILD_DIR=$BUILD_DIR QV_STAGE_DIR=$BUILD_DIR/stage
# shellcheck source=../tests/e2e/show_lib.sh
source "$(dirname "$0")/../tests/e2e/show_lib.sh"

SWAP_COUNTER=$BUILD_DIR/bench/libqvswapcount.so
ROUNDS=${ROUNDS:-5}
FIRST_FRAME_TIMEOUT=30 # seconds

declare -A TIMES

first_frame_said() { grep -qs 'first frame' "$XS_ARTEFACTS/$1.err"; }

# One start of the show in STAGE, stopped once it has shown its first frame.
one_start() {
  local label=$1 stage=$2 round=$3 name="$1-$3"
  xsession_spawn "$name" "$stage" env "QV_STARTED_AT=$(date +%s%N)" "LD_PRELOAD=$SWAP_COUNTER" "$stage/qvshow"
  xs_poll "$FIRST_FRAME_TIMEOUT" first_frame_said "$name" || { echo "$name: no frame" >&2; return; }
  xs_stop_pid "$(xsession_pid "$name")"
  TIMES[$label]+="$(sed -n 's/.*first frame \([0-9.]*\) s.*/\1/p' "$XS_ARTEFACTS/$name.err") "
}

summary() {
  tr ' ' '\n' <<<"$1" | grep . | sort -n |
    awk '{ v[NR] = $1 } END { printf "median %.3f s (%.3f to %.3f, %d runs)\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

[ -e "$SWAP_COUNTER" ] || { echo "build the target qvswapcount first" >&2; exit 1; }
show_require_build
xsession_settings_dword PixelsUsed 4096
xsession_settings_dword UseBackground 1
xsession_start 1920x1080
xsession_start_wm

stages=("this:$QV_STAGE_DIR")
[ -n "$OTHER_STAGE" ] && stages+=("other:$(cd "$OTHER_STAGE" && pwd)")
for round in $(seq "$ROUNDS"); do
  for entry in "${stages[@]}"; do
    one_start "${entry%%:*}" "${entry#*:}" "$round"
  done
done
# What the first frame held, as the show drew it (read back from its calls).
drawn() { grep -h -m1 'first frame drew' "$XS_ARTEFACTS/$1-1.err" | sed 's/.*first frame drew //'; }

for entry in "${stages[@]}"; do
  printf '%-6s first frame (%s): %s\n' "${entry%%:*}" "$(drawn "${entry%%:*}")" "$(summary "${TIMES[${entry%%:*}]}")"
done
