#!/usr/bin/env bash
# Runs every Windows test under Wine (each tests/wine/*_wine.sh script, one
# after another: they share the machine's two cores with Wine's own
# processes) and ends with a "passed, failed" line.
#
# QV_WIN_BUILD   the Windows build folder (build-win; tools/build-windows
#                fills it)
# QV_LINUX_BUILD a Linux build folder whose qvtrace the trace comparison
#                uses (build); the target is built there when missing
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export QV_WIN_BUILD=${QV_WIN_BUILD:-$root/build-win}
linux_build=${QV_LINUX_BUILD:-$root/build}
export QV_LINUX_QVTRACE=${QV_LINUX_QVTRACE:-$linux_build/tools/qvtrace}

if [ ! -x "$QV_LINUX_QVTRACE" ]; then
  [ -e "$linux_build/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$linux_build" --target qvtrace >/dev/null
fi

# Booting a prefix takes Wine longer than copying one: every script starts
# from a copy of this one.
export QV_WINE_TEMPLATE="$QV_WIN_BUILD/wine/template"
wine=${QV_WINE:-/usr/lib/wine/wine64}
rm -rf "$QV_WINE_TEMPLATE"
mkdir -p "$(dirname "$QV_WINE_TEMPLATE")"
WINEPREFIX="$QV_WINE_TEMPLATE" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  timeout 180 "$wine" wineboot -i >/dev/null 2>&1 &&
  WINEPREFIX="$QV_WINE_TEMPLATE" timeout 120 "$(dirname "$wine")/wineserver" -w ||
  { echo "wineboot failed; each script boots its own prefix"; rm -rf "$QV_WINE_TEMPLATE"; }
trap 'rm -rf "$QV_WINE_TEMPLATE"' EXIT

passed=0
failed=0
failures=()
for script in "$here"/*_wine.sh; do
  name=$(basename "$script" .sh)
  echo "== $name"
  start=$SECONDS
  if bash "$script"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
  echo "-- $name: $((SECONDS - start)) s"
done

for name in "${failures[@]}"; do echo "failed: $name"; done
echo "wine: $passed passed, $failed failed"
((failed == 0))
