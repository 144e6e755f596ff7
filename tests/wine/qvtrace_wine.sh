#!/usr/bin/env bash
# One seed gives one show on both platforms: qvtrace.exe under Wine prints
# byte for byte what the Linux qvtrace prints, for several seeds and swarm
# sizes over thousands of frames. Both programs run here, from the current
# sources; nothing is compared with stored output.
#
# QV_WIN_BUILD names the Windows build folder (its tools/qvtrace.exe), and
# QV_LINUX_QVTRACE the Linux program.
source "$(dirname "$0")/wine_lib.sh"

LINUX_QVTRACE=${QV_LINUX_QVTRACE:?QV_LINUX_QVTRACE must name the Linux qvtrace}
WINDOWS_QVTRACE="$QV_WIN_BUILD/tools/qvtrace.exe"
SEEDS=(1 7 3141592653)
SIZES=(256 4096)
FRAMES=5000

for program in "$LINUX_QVTRACE" "$WINDOWS_QVTRACE" "$WINE_STAGE/Irrlicht.dll"; do
  [ -e "$program" ] || { xs_log "missing $program: build qvtrace on both sides first"; exit 1; }
done

# The first, the last and a few between, so that every part of the swarm's
# index range is watched.
watch_list() {
  local size=$1
  printf '0,1,%d,%d,%d,%d\n' $((size / 3)) $((size / 2)) $((size - 2)) $((size - 1))
}

wine_prefix_start
# The engine's DLL sits in the stage; Wine looks for DLLs along WINEPATH too.
export WINEPATH
WINEPATH=$(wine_dos_path "$WINE_STAGE")

for seed in "${SEEDS[@]}"; do
  for size in "${SIZES[@]}"; do
    name="seed $seed, $size pixels"
    args=(--seed "$seed" --pixels "$size" --frames "$FRAMES" --watch "$(watch_list "$size")")
    linux_out="$XS_ARTEFACTS/linux-$seed-$size.txt"
    windows_out="$XS_ARTEFACTS/windows-$seed-$size.txt"
    "$LINUX_QVTRACE" "${args[@]}" >"$linux_out" 2>/dev/null
    check_eq "$name: the Linux trace runs" 0 "$?"
    wine_run "$WINDOWS_QVTRACE" "${args[@]}" >"$windows_out" 2>/dev/null
    check_eq "$name: the Windows trace runs" 0 "$?"
    check_eq "$name: a line for the start and for every frame" $((FRAMES + 1)) "$(wc -l <"$windows_out")"
    if cmp -s "$linux_out" "$windows_out"; then
      pass "$name: the same bytes on both platforms"
      rm -f "$linux_out" "$windows_out"
    else
      fail "$name: the same bytes on both platforms" \
        "first difference: $(cmp "$linux_out" "$windows_out" 2>&1 | head -n1)" \
        "Linux:   $(diff "$linux_out" "$windows_out" | sed -n 2p)" \
        "Windows: $(diff "$linux_out" "$windows_out" | grep -m1 '^>')"
    fi
  done
done

# A bad command line is refused the same way on both sides.
"$LINUX_QVTRACE" --pixels 12 >/dev/null 2>&1
linux_code=$?
wine_run "$WINDOWS_QVTRACE" --pixels 12 >/dev/null 2>&1
check_eq "a missing seed ends both with the same code" "$linux_code" "$?"

xsession_finish
