#!/usr/bin/env bash
# Quorvel3D without arguments opens the options dialog, under a locale whose
# decimal separator is a comma; the about box opens from it painted; both
# ask for a fixed frame; values chosen by keyboard and confirmed with Enter
# land in the settings file that the show reads. Qt's own options on the
# command line change nothing.
source "$(dirname "$0")/xsession.sh"

LAUNCHER="${QV_STAGE_DIR:?QV_STAGE_DIR must name the stage folder}/Quorvel3D"
PROBE="${QV_BUILD_DIR:?QV_BUILD_DIR must name the build folder}/tests/launcher_settings_probe"
OPTIONS_TITLE='^Quorvel 3D Options$'
ABOUT_TITLE='^About Quorvel 3D$'
WINDOW_TIMEOUT=20        # seconds until a dialog is on screen
CLOSE_TIMEOUT=5          # seconds for a dialog to go after Enter
EXIT_TIMEOUT=30          # seconds for the launcher to end after OK
PAINT_PAUSE=1            # seconds a new dialog gets to paint before a screenshot
CHANGE_PAUSE=0.3         # seconds for the changed controls to repaint
ABOUT_PAINT_TIMEOUT=3    # seconds for a new about box to show its face
PAINTED_LEVEL=0.5        # mean brightness of a painted dialog face (black: 0)
MIRROR_TOLERANCE=0.01    # share of the dialog that may differ between two starts
COMMA_LOCALE=de_DE.UTF-8
# Move and close only: the Motif flags, functions and decorations (border,
# title, menu); no resize handle, no minimise or maximise box.
FIXED_FRAME_HINTS='0x3, 0x24, 0x1a, 0x0, 0x0'

unset QT_QPA_PLATFORM # the real X server, never Qt's off-screen stand-in
xsession_runtime_dir
xsession_lsan_suppressions "$(dirname "$0")/launcher_lsan.supp"

# Mean brightness of window ID's inside in a fresh screenshot.
window_face_mean() {
  local shot w h x y
  shot="$XS_ARTEFACTS/$2.png"
  read -r w h x y < <(xsession_window_geometry "$1")
  xsession_screenshot "$shot"
  img_mean "$shot" "${w}x${h}+${x}+${y}"
}

face_is_painted() { awk -v m="$(window_face_mean "$1" "$2")" -v l="$PAINTED_LEVEL" 'BEGIN { exit !(m > l) }'; }

# The frame window ID asks for, and what the window manager allows it.
expect_fixed_frame() {
  local id=$1 what=$2 actions
  check_eq "$what asks for a frame that moves and closes only" "$FIXED_FRAME_HINTS" \
    "$(xprop -id "$id" _MOTIF_WM_HINTS | sed 's/^.* = //')"
  actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
  if grep -qE 'MAXIMIZE|ACTION_RESIZE' <<<"$actions"; then
    fail "$what can be neither maximised nor resized" "$actions"
  else
    pass "$what can be neither maximised nor resized"
  fi
}

# The comma-decimal locale for the launcher alone: the tools of this script
# print numbers with a point.
if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\{0,1\}8'; then
  LAUNCHER_LOCALE=(env "LC_ALL=$COMMA_LOCALE")
  xs_log "the launcher runs under $COMMA_LOCALE"
else
  LAUNCHER_LOCALE=()
  xs_log "note: $COMMA_LOCALE is missing (tests/test_locales.sh generates it); the launcher runs under the C locale"
fi

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
xsession_spawn "$name" "$(xsession_temp_dir)" "${LAUNCHER_LOCALE[@]}" "$LAUNCHER"
options=$(xsession_wait_window "$OPTIONS_TITLE" "$WINDOW_TIMEOUT") || {
  fail "the options dialog opens" "stderr: $(xsession_stderr "$name")"
  xsession_finish
}
pass "the options dialog opens"
sleep "$PAINT_PAUSE"
plain_shot="$XS_ARTEFACTS/options-plain.png"
xsession_screenshot "$plain_shot"
read -r dialog_w dialog_h dialog_x dialog_y < <(xsession_window_geometry "$options")
expect_fixed_frame "$options" "the options dialog"

expect_settings "opening the dialog writes the defaults" \
  PixelsUsed=dword:00000400 UseBackground=dword:00000001

xsession_key_to "$options" alt+a
if about=$(xsession_wait_window "$ABOUT_TITLE" "$WINDOW_TIMEOUT"); then
  pass "Alt+A opens the about box"
  if xs_poll "$ABOUT_PAINT_TIMEOUT" face_is_painted "$about" about; then
    pass "the about box is painted as it opens"
  else
    fail "the about box is painted as it opens" "mean $(window_face_mean "$about" about), see $XS_ARTEFACTS/about.png"
  fi
  expect_fixed_frame "$about" "the about box"
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

# Options that Qt would take from a command line are ours to ignore: the
# dialog opens as without them and the launcher ends with 0.
run_with_qt_options() {
  local name=$1 shot window crop; shift
  local what="Quorvel3D $*"
  xsession_settings_clear
  xsession_spawn "$name" "$(xsession_temp_dir)" "$LAUNCHER" "$@"
  if ! window=$(xsession_wait_window "$OPTIONS_TITLE" "$WINDOW_TIMEOUT"); then
    xsession_wait_exit "$name" "$CLOSE_TIMEOUT"
    fail "$what: the options dialog opens" "exit code ${XS_EXIT_CODE:-none}; stderr: $(xsession_stderr "$name")"
    return
  fi
  pass "$what: the options dialog opens"
  sleep "$PAINT_PAUSE"
  shot="$XS_ARTEFACTS/$name.png"
  xsession_screenshot "$shot"
  crop="${dialog_w}x${dialog_h}+${dialog_x}+${dialog_y}"
  convert "$plain_shot" -crop "$crop" +repage "$XS_ARTEFACTS/crop-plain.png"
  convert "$shot" -crop "$crop" +repage "$XS_ARTEFACTS/crop-$name.png"
  check_num "$what: the dialog looks as without the option" \
    "$(img_changed_fraction "$XS_ARTEFACTS/crop-plain.png" "$XS_ARTEFACTS/crop-$name.png")" "<" "$MIRROR_TOLERANCE"
  xsession_key_to "$window" Escape
  if xsession_wait_exit "$name" "$EXIT_TIMEOUT"; then
    check_eq "$what: Escape ends the launcher with 0" 0 "$XS_EXIT_CODE"
  else
    fail "$what: Escape ends the launcher"
  fi
}
run_with_qt_options qt-reverse -reverse
run_with_qt_options qt-platform -platform bogus

xsession_finish
