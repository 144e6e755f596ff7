#!/usr/bin/env bash
# The swarm's motion is settled: qvtrace prints, byte for byte, the traces
# recorded in qvtrace.sha256 (5,000 frames for each seed, swarm size and
# colour). A change that moves any watched pixel by one bit fails here.
set -uo pipefail
trace=$1
frames=5000
failed=0
while read -r seed pixels color expected; do
  case $seed in '#'* | '') continue ;; esac
  watch="0,1,$((pixels / 3)),$((pixels / 2)),$((pixels - 2)),$((pixels - 1))"
  got=$("$trace" --seed "$seed" --pixels "$pixels" --color "$color" --frames "$frames" --watch "$watch" 2>/dev/null |
    sha256sum | cut -d' ' -f1)
  if [ "$got" = "$expected" ]; then
    echo "ok: seed $seed, $pixels pixels, colour $color"
  else
    echo "FAIL: seed $seed, $pixels pixels, colour $color: trace $got, recorded $expected"
    failed=1
  fi
done <"$(dirname "$0")/qvtrace.sha256"
exit $failed
