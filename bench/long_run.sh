#!/usr/bin/env bash
# Hours of the show: qvshow at 4096 balls with the sky box, under Xvfb with
# openbox, its resident memory, open descriptors, threads and frames a
# second logged every minute. Each must stay flat after the first minute;
# the summary says by how much each grew from then. Figures only.
# Usage: [DURATION=7200] [SIZE=640x480] bench/long_run.sh BUILD_DIR
set -uo pipefail

BUILD_DIR=$(cd "${1:?usage: long_run.sh BUILD_DIR}" && pwd)
export QV_BUILD_DIR=$BUILD_DIR QV_STAGE_DIR=$BUILD_DIR/stage
# shellcheck source=../tests/e2e/show_lib.sh
source "$(dirname "$0")/../tests/e2e/show_lib.sh"

SWAP_COUNTER=$BUILD_DIR/bench/libqvswapcount.so
DURATION=${DURATION:-7200}
SIZE=${SIZE:-640x480}
MINUTE=${MINUTE:-60}

resident_mib() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
threads() { awk '/^Threads/ { print $2 }' "/proc/$1/status"; }
descriptors() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 | wc -l; }
last_rate() {
  sed -n 's/.*qvswapcount: \([0-9]*\) frames in the last \([0-9.]*\) s.*/\1 \2/p' "$XS_ARTEFACTS/long.err" |
    tail -n1 | awk '{ if ($2 > 0) printf "%.1f", $1 / $2; else print "-" }'
}

[ -e "$SWAP_COUNTER" ] || { echo "build the target qvswapcount first" >&2; exit 1; }
show_require_build
xsession_settings_dword PixelsUsed 4096
xsession_settings_dword UseBackground 1
xsession_start "$SIZE"
xsession_start_wm
xsession_spawn long "$QV_STAGE_DIR" env "LD_PRELOAD=$SWAP_COUNTER" "QV_SWAP_REPORT_SECONDS=$MINUTE" "$QVSHOW"
show_wait_window long || exit 1
pid=$(xsession_pid long)
log="$XS_ARTEFACTS/long-run.tsv"
printf 'minute\tresident MiB\tdescriptors\tthreads\tframes/s\n' | tee "$log"
for minute in $(seq 1 $((DURATION / MINUTE))); do
  sleep "$MINUTE"
  xs_alive "$pid" || { echo "the show ended after $minute minutes: $(xsession_stderr long)"; break; }
  printf '%d\t%s\t%s\t%s\t%s\n' "$minute" "$(resident_mib "$pid")" "$(descriptors "$pid")" "$(threads "$pid")" \
    "$(last_rate)" | tee -a "$log"
done
printf '%s, %s, drawn: %s\n' "$SIZE" "$(grep -h -m1 'first frame drew' "$XS_ARTEFACTS/long.err" | sed 's/.*drew //')" \
  "after the first minute, each figure's growth to its largest, and the frame rate's range:"
awk -F'\t' 'NR == 2 { r = $2; d = $3; t = $4 } NR > 1 { if ($2 > mr) mr = $2; if ($3 > md) md = $3; if ($4 > mt) mt = $4
    if (minf == "" || $5 < minf) minf = $5; if ($5 > maxf) maxf = $5 }
  END { printf "resident +%.1f MiB (from %.1f), descriptors +%d (from %d), threads +%d (from %d), %s to %s frames a second\n",
        mr - r, r, md - d, d, mt - t, t, minf, maxf }' "$log"
