# shellcheck shell=bash
# The launcher's Wine scripts, on top of wine_lib.sh: the launcher copied
# into a folder of its own (so that only the install folder can hold a
# show), the settings key read back with Wine's reg tool, and dialogs
# waited for until they are drawn.
#
#   lw_start                  X server, window manager, fresh prefix
#   LW_LAUNCHER_DIR           the folder the launcher runs from
#   LW_STUB                   the stand-in show (qvshow_stub.exe)
#   lw_user_value NAME        "REG_DWORD 0x400" from HKCU, empty if missing
#   lw_machine_text NAME TEXT writes a REG_SZ into the machine's key
#   lw_no_user_key / lw_no_machine_key   true while the key does not exist
#   lw_dump_key NAME          keeps both keys in the artefacts
#   lw_wait_painted ID NAME TIMEOUT  waits until window ID is drawn, then
#                             keeps a screenshot named NAME
# shellcheck source=wine_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine_lib.sh"

LW_SCR="$WINE_STAGE/Quorvel3D.scr"
LW_STUB="$QV_WIN_BUILD/tests/qvshow_stub.exe"
LW_KEY='Software\Brenmark\Quorvel 3D'
LW_SCREEN=1024x768
LW_PAINTED_MEAN=0.6 # a drawn dialog is mostly the light window colour
LW_PAINT_STEP=0.5   # seconds between two looks

lw_start() {
  [ -r "$LW_SCR" ] || { xs_log "no $LW_SCR: build the launcher for Windows first"; exit 1; }
  [ -r "$LW_STUB" ] || { xs_log "no $LW_STUB: build the target qvshow_stub"; exit 1; }
  wine_session_start "$LW_SCREEN"
  LW_LAUNCHER_DIR="$XS_TMP/launcher"
  mkdir -p "$LW_LAUNCHER_DIR"
  cp "$LW_SCR" "$LW_LAUNCHER_DIR/"
}

lw_user_value() {
  wine_reg query "HKCU\\$LW_KEY" /v "$1" |
    sed -n "s/^ *$1 \{4\}\(REG_[A-Z_]*\) \{4\}\(.*\)\$/\1 \2/p"
}

lw_machine_text() { wine_reg add "HKLM\\$LW_KEY" /v "$1" /t REG_SZ /d "$2" /f >/dev/null; }

lw_no_user_key() { ! "$WINE" reg query "HKCU\\$LW_KEY" >/dev/null 2>&1; }
lw_no_machine_key() { ! "$WINE" reg query "HKLM\\$LW_KEY" >/dev/null 2>&1; }

lw_dump_key() {
  { wine_reg query "HKCU\\$LW_KEY"; wine_reg query "HKLM\\$LW_KEY"; } >"$XS_ARTEFACTS/$1.reg.txt"
}

lw_window_mean() {
  local geometry shot w h x y
  geometry=$(xsession_window_geometry "$1") || return 1
  read -r w h x y <<<"$geometry"
  shot="$XS_TMP/paint-check.png"
  xsession_screenshot "$shot" && img_mean "$shot" "${w}x${h}+${x}+${y}"
}

# Wine shows a new window black until it has drawn it.
lw_is_painted() {
  local mean
  mean=$(lw_window_mean "$1") || return 1
  awk -v m="$mean" -v l="$LW_PAINTED_MEAN" 'BEGIN { exit !(m > l) }'
}

lw_wait_painted() {
  local id=$1 name=$2 timeout=$3
  local deadline=$((SECONDS + timeout))
  until lw_is_painted "$id"; do
    ((SECONDS >= deadline)) && return 1
    sleep "$LW_PAINT_STEP"
  done
  xsession_keep_screenshot "$name" >/dev/null
}
