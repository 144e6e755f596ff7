# Shared by the scripts that run the Windows build under Wine: the X harness
# of the end-to-end tests (xsession.sh, with its check/fail report) and a
# private Wine prefix in the Windows build folder, made fresh for each script
# and removed with it. Sourced, not run.
#
#   QV_WIN_BUILD          the Windows build folder (build-win in the source tree)
#   WINE                  Wine's 64-bit loader (QV_WINE overrides)
#   WINE_STAGE            the installable folder: $QV_WIN_BUILD/stage
#   wine_prefix_start     makes the prefix (wineboot -i, or a copy of the
#                         booted prefix QV_WINE_TEMPLATE names); no display
#                         needed
#   wine_session_start SIZE  Xvfb at SIZE with openbox, then the prefix
#   wine_run ARGS...      runs a Windows program, waits for it, its exit code
#   wine_reg ARGS...      Wine's reg tool; output without carriage returns
#   wine_unix_path 'C:\dir\'  that folder's path on this machine
#   wine_wait_swarm TIMEOUT  waits until the screen shows coloured balls on
#                         a dark ground, then keeps that screenshot and
#                         prints its path
#   wine_wait_idle        waits until no Wine process of the prefix is left
#                         (programs that hand their work to a copy of
#                         themselves, like uninstallers, return at once)
#   wine_stop             ends every Wine process of the prefix
#   WINE_BOOT_TIMEOUT     seconds wineboot gets
#   WINE_IDLE_TIMEOUT     seconds wine_wait_idle waits at most

QV_WIN_BUILD=${QV_WIN_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build-win}
export QV_BUILD_DIR=${QV_BUILD_DIR:-$QV_WIN_BUILD}
# shellcheck source=../e2e/xsession.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/xsession.sh"

WINE=${QV_WINE:-/usr/lib/wine/wine64}
WINE_SERVER="$(dirname "$WINE")/wineserver"
WINE_STAGE="$QV_WIN_BUILD/stage"
WINE_BOOT_TIMEOUT=180
WINE_IDLE_TIMEOUT=120

# No .NET or HTML engine downloads, no debug chatter, and the engine's DLL
# found beside the programs wherever they run from.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$QV_WIN_BUILD/wine/$XS_SCRIPT_NAME"

# Wine's processes go first, so that none still writes into the prefix when
# it is removed.
wine_stop() {
  [ -d "$WINEPREFIX" ] || return 0
  "$WINE_SERVER" -k 2>/dev/null
  "$WINE_SERVER" -w 2>/dev/null
  return 0
}

wine_cleanup() {
  wine_stop
  rm -rf "$WINEPREFIX"
  xsession_cleanup
}
trap wine_cleanup EXIT

wine_prefix_start() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ -n "${QV_WINE_TEMPLATE:-}" ] && [ -s "$QV_WINE_TEMPLATE/system.reg" ]; then
    cp -a "$QV_WINE_TEMPLATE" "$WINEPREFIX" && return 0
    rm -rf "$WINEPREFIX"
  fi
  if ! timeout "$WINE_BOOT_TIMEOUT" "$WINE" wineboot -i >"$XS_ARTEFACTS/wineboot.log" 2>&1; then
    xs_log "wineboot failed; its log: $XS_ARTEFACTS/wineboot.log"
    exit 1
  fi
  wine_wait_idle
}

wine_session_start() {
  xsession_start "$1"
  xsession_start_wm
  wine_prefix_start
}

wine_run() { "$WINE" "$@"; }

wine_wait_idle() { timeout "$WINE_IDLE_TIMEOUT" "$WINE_SERVER" -w; }

wine_reg() { "$WINE" reg "$@" 2>/dev/null | tr -d '\r'; }

# Drive C: is the prefix's drive_c; the letter's case does not matter.
wine_unix_path() {
  local path=${1#[Cc]:\\}
  path=${path%\\}
  printf '%s/drive_c/%s\n' "$WINEPREFIX" "${path//\\//}"
}

# The DOS path Wine gives a folder of this machine (drive Z: is /).
wine_dos_path() { printf 'Z:%s\n' "${1//\//\\}"; }

WINE_SWARM_MIN_COLOURED=0.0005 # share of the screen the balls cover at least
WINE_SWARM_MAX_MEAN=0.3        # the show's screen is dark: a night sky or black

wine_swarm_on_screen() {
  xsession_screenshot "$XS_TMP/swarm.png" || return 1
  awk -v c="$(img_coloured_fraction "$XS_TMP/swarm.png")" -v m="$(img_mean "$XS_TMP/swarm.png")" \
    -v cl="$WINE_SWARM_MIN_COLOURED" -v ml="$WINE_SWARM_MAX_MEAN" 'BEGIN { exit !(c > cl && m < ml) }'
}

wine_wait_swarm() {
  xs_poll "$1" wine_swarm_on_screen || return 1
  xsession_keep_screenshot swarm
}
