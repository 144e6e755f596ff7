#!/usr/bin/env bash
# A million updates of the swarm through the trace tool: no position may
# become NaN or infinite, and every watched pixel stays within reach of the
# centre (the escape sphere plus the longest step an effect gives).
set -euo pipefail
trace=$1
frames=${QV_SOAK_FRAMES:-1000000}
reach=210

"$trace" --seed 12345 --pixels 256 --frames "$frames" --watch 0,1,127,255 |
  awk -v reach="$reach" -v frames="$frames" '
    {
      lines++
      for (i = 3; i <= NF; i += 4) {
        x = $i; y = $(i + 1); z = $(i + 2)
        if (x != x + 0 || y != y + 0 || z != z + 0 || x ~ /nan|inf/ || y ~ /nan|inf/ || z ~ /nan|inf/) {
          print "bad number on line " NR ": " $0; bad = 1; exit 1
        }
        if (sqrt(x * x + y * y + z * z) > reach) {
          print "pixel out of reach on line " NR ": " $0; bad = 1; exit 1
        }
      }
    }
    END {
      if (bad) exit 1
      if (lines != frames + 1) { print "expected " frames + 1 " lines, got " lines; exit 1 }
      print "soak: " lines " updates, every pixel within reach"
    }'
