#!/usr/bin/env bash
# Quorvel3D without arguments opens the options dialog; the about box opens
# from it; values chosen by keyboard and confirmed with Enter land in the
# settings file that the show reads.
source "$(dirname "$0")/xsession.sh"

LAUNCHER="${QV_STAGE_DIR:?QV_STAGE_DIR must name the stage folder}/Quorvel3D"
PROBE="${QV_BUILD_DIR:?QV_BUILD_DIR must name the build folder}/tests/launcher_settings_probe"
OPTIONS_TITLE='^Quorvel 3D Options$'
ABOUT_TITLE='^About Quorvel 3D$'
WINDOW_TIMEOUT=20        # seconds until a dialog is on screen
CLOSE_TIMEOUT=5          # seconds for a dialog to go after Enter
EXIT_TIMEOUT=30          # seconds for the launcher to end after OK
PAINT_PAUSE=1            # seconds a new dialog gets to paint before a screenshot
ABOUT_PAINT_PAUSE=1.5    # the about box loads its text first
CHANGE_PAUSE=0.3         # seconds for the changed controls to repaint

unset QT_QPA_PLATFORM # the real X server, never Qt's off-screen stand-in
xsession_runtime_dir
xsession_lsan_suppressions "$(dirname "$0")/launcher_lsan.supp"

# NAME=VALUE... against the settings file, VALUE as the file spells it.
expect_settings() {
  local when=$1 pair; shift
  for pair in "$@"; do
    check_eq "$when: the settings hold ${pair%%=*}" "${pair#*=}" "$(xsession_settings_value "${pair%%=*}")"
  done
}

xsession_start 1280x1024
xsession_start_wm

name=launcher
xsession_spawn "$name" "$(xsession_temp_dir)" "$LAUNCHER"
options=$(xsession_wait_window "$OPTIONS_TITLE" "$WINDOW_TIMEOUT") || {
  fail "the options dialog opens" "stderr: $(xsession_stderr "$name")"
  xsession_finish
}
pass "the options dialog opens"
sleep "$PAINT_PAUSE"
xsession_keep_screenshot options >/dev/null

expect_settings "opening the dialog writes the defaults" \
  PixelsUsed=dword:00000400 UseBackground=dword:00000001

xsession_key_to "$options" alt+a
if about=$(xsession_wait_window "$ABOUT_TITLE" "$WINDOW_TIMEOUT"); then
  pass "Alt+A opens the about box"
  sleep "$ABOUT_PAINT_PAUSE"
  xsession_keep_screenshot about >/dev/null
  xsession_key_to "$about" Return
  check "Enter closes the about box" xsession_wait_window_gone "$ABOUT_TITLE" "$CLOSE_TIMEOUT"
else
  fail "Alt+A opens the about box"
fi

# Focus is back on OK: Tab past Cancel and About to the five lists, then the
# two check boxes.
xsession_key_to "$options" Tab Tab Tab Down Tab Down Tab Down Tab Up Tab Down Tab space Tab space
sleep "$CHANGE_PAUSE"
xsession_keep_screenshot options-changed >/dev/null
xsession_key_to "$options" Return

if xsession_wait_exit "$name" "$EXIT_TIMEOUT"; then
  check_eq "Enter confirms the dialog and the launcher ends with 0" 0 "$XS_EXIT_CODE"
else
  fail "Enter confirms the dialog and the launcher ends"
fi
cp "$(xsession_settings_file)" "$XS_ARTEFACTS/settings.reg" 2>/dev/null
expect_settings "after Enter" \
  PixelsUsed=dword:00000800 PixelsSize=dword:40800000 PixelsColor=dword:00000001 \
  CameraDistance=dword:42a00000 CameraSpeed=dword:3a83126f \
  UseBackground=dword:00000000 UseLighting=dword:00000001

# The show's own loading sees the same choices.
expected=$'PixelsUsed=2048\nPixelsSize=4\nPixelsColor=1\nUseLighting=1\nCameraDistance=80\nCameraSpeed=0.001\nUseBackground=0'
check_eq "the show would load the same choices" "$expected" "$("$PROBE" 2>&1)"

xsession_finish
