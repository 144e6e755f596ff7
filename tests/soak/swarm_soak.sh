#!/usr/bin/env bash
# A million updates of the swarm through the trace tool: every effect runs
# many times, and no position may become NaN or infinite or run away.
#
# The bound is not the escape sphere: a fountain delay of 0 is a flight of
# zero frames, whose one step carries a pixel ten times its distance from the
# gathering point, so a pixel from inside the sphere lands up to about 2,300
# units out and, flung again before it is back, ten times that. The escape
# rule then brings it home at 0.2 units a frame.
set -euo pipefail
trace=$1
frames=${QV_SOAK_FRAMES:-1000000}
reach=25000
least_runs=$((frames / 20000)) # each effect, of about a run in 5,000 updates

"$trace" --seed 12345 --pixels 256 --frames "$frames" --watch 0,1,127,255 |
  awk -v reach="$reach" -v frames="$frames" -v least="$least_runs" '
    {
      lines++
      if (last == 0 && $2 != 0) runs[$2]++
      last = $2
      for (i = 3; i <= NF; i += 4) {
        x = $i; y = $(i + 1); z = $(i + 2)
        if (x != x + 0 || y != y + 0 || z != z + 0 || x ~ /nan|inf/ || y ~ /nan|inf/ || z ~ /nan|inf/) {
          print "bad number on line " NR ": " $0; bad = 1; exit 1
        }
        d = sqrt(x * x + y * y + z * z)
        if (d > farthest) farthest = d
        if (d > reach) { print "pixel out of reach on line " NR ": " $0; bad = 1; exit 1 }
      }
    }
    END {
      if (bad) exit 1
      if (lines != frames + 1) { print "expected " frames + 1 " lines, got " lines; exit 1 }
      for (e = 1; e <= 11; e++) {
        if (runs[e] < least) { print "effect " e " ran " runs[e] + 0 " times, fewer than " least; exit 1 }
        counts = counts " " e ":" runs[e]
      }
      printf "soak: %d updates, farthest %.0f units, runs per effect%s\n", lines, farthest, counts
    }'
