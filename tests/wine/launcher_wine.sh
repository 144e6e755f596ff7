#!/usr/bin/env bash
# The Windows launcher under Wine on a virtual X server: /p ends at once,
# /c shows the options dialog and the about box from their resources and OK
# stores the seven values in the user's key, Escape stores nothing, the
# about box shows the installed licence, /s starts the show from the install
# folder recorded in the machine's key and waits for it, and a missing show
# or install folder gives one error message. A stand-in show
# (qvshow_stub.exe) tells where it was started and ends when told to.
#
# QV_WIN_BUILD names the Windows build folder (build-win in the source tree):
# its stage/Quorvel3D.scr and tests/qvshow_stub.exe are used.
# shellcheck source=launcher_wine_lib.sh
source "$(dirname "$0")/launcher_wine_lib.sh"

OPTIONS_TITLE='^Quorvel 3D Options$'
ABOUT_TITLE='^About Quorvel 3D$'
ERROR_TITLE='^Error$'
LICENCE_TITLE='^License$'
WINDOW_TIMEOUT=60   # seconds until a window is on screen; Wine starts slowly
EXIT_TIMEOUT=60     # seconds for the launcher to end once it may
PREVIEW_TIMEOUT=30  # seconds; a preview request only starts Wine and ends
PAINT_TIMEOUT=20    # seconds for a new window to be painted
PAINT_PAUSE=1       # seconds for changed controls to repaint
START_TIMEOUT=60    # seconds for the stand-in show to report its start
WAIT_CHECK_PAUSE=2  # seconds the launcher must keep waiting for the show

# shellcheck disable=SC1003 # Windows paths end with a backslash
INSTALL_DIR='C:\Quorvel 3D\'  # as the installer records it: trailing backslash
# shellcheck disable=SC1003
EMPTY_DIR='C:\No Show\'

expect_values() {
  local when=$1 pair; shift
  for pair in "$@"; do
    check_eq "$when: ${pair%%=*}" "${pair#*=}" "$(lw_user_value "${pair%%=*}")"
  done
}

lw_start

# --- preview -----------------------------------------------------------------
for argument in /p "/P 1234"; do
  # shellcheck disable=SC2086 # the window number is a separate argument
  xsession_spawn preview "$LW_LAUNCHER_DIR" "$WINE" Quorvel3D.scr $argument
  if xsession_wait_exit preview "$PREVIEW_TIMEOUT"; then
    check_eq "'$argument' ends at once with 0" 0 "$XS_EXIT_CODE"
  else
    fail "'$argument' ends at once"
  fi
done
check "a preview request reads and writes nothing" lw_no_user_key

# --- options dialog and about box --------------------------------------------
xsession_spawn options "$LW_LAUNCHER_DIR" "$WINE" Quorvel3D.scr /c
options=$(xsession_wait_window "$OPTIONS_TITLE" "$WINDOW_TIMEOUT") || {
  fail "/c opens the options dialog" "stderr: $(xsession_stderr options)"
  xsession_finish
}
pass "/c opens the options dialog"
check "the options dialog is painted" lw_wait_painted "$options" options "$PAINT_TIMEOUT"
expect_values "opening the dialog writes the missing defaults" \
  PixelsUsed="REG_DWORD 0x400" PixelsSize="REG_DWORD 0x40000000" UseBackground="REG_DWORD 0x1"

# The focus starts on OK: Tab past Cancel and About to the five lists, then
# the two check boxes; Enter on a check box presses the default button.
xsession_key_to "$options" Tab Tab Tab Down Tab Down Tab Down Tab Up Tab Down Tab space Tab space
sleep "$PAINT_PAUSE"
xsession_keep_screenshot options-changed >/dev/null
xsession_key_to "$options" Return
if xsession_wait_exit options "$EXIT_TIMEOUT"; then
  check_eq "Enter confirms the dialog and the launcher ends with 0" 0 "$XS_EXIT_CODE"
else
  fail "Enter confirms the dialog and the launcher ends"
fi
lw_dump_key after-ok
expect_values "after OK" \
  PixelsUsed="REG_DWORD 0x800" PixelsSize="REG_DWORD 0x40800000" PixelsColor="REG_DWORD 0x1" \
  CameraDistance="REG_DWORD 0x42a00000" CameraSpeed="REG_DWORD 0x3a83126f" \
  UseBackground="REG_DWORD 0x0" UseLighting="REG_DWORD 0x1"
check "nothing is written to the machine's key" lw_no_machine_key

# The installation as the installer leaves it: the show, the licence and the
# folder recorded in the machine's key.
install=$(wine_unix_path "$INSTALL_DIR")
mkdir -p "$install"
cp "$LW_STUB" "$install/qvshow.exe"
printf 'Licence line one\r\nLicence line two\r\n' >"$install/License.txt"
lw_machine_text InstallDir "$INSTALL_DIR"

# A change, the about box on top with the licence text, then Escape, which
# is Cancel: nothing of the change is stored.
xsession_spawn cancel "$LW_LAUNCHER_DIR" "$WINE" Quorvel3D.scr
if options=$(xsession_wait_window "$OPTIONS_TITLE" "$WINDOW_TIMEOUT"); then
  pass "no argument opens the options dialog"
  lw_wait_painted "$options" options-again "$PAINT_TIMEOUT"
  xsession_key_to "$options" Tab Tab Tab Up alt+a
  if about=$(xsession_wait_window "$ABOUT_TITLE" "$WINDOW_TIMEOUT"); then
    pass "Alt+A opens the about box"
    check "the about box is painted" lw_wait_painted "$about" about "$PAINT_TIMEOUT"
    # Close has the focus; License... is the third tab stop after it.
    xsession_key_to "$about" Tab Tab Tab space
    if licence=$(xsession_wait_window "$LICENCE_TITLE" "$WINDOW_TIMEOUT"); then
      pass "License... shows the installed licence text"
      check "the licence box is painted" lw_wait_painted "$licence" licence "$PAINT_TIMEOUT"
      xsession_key_to "$licence" Return
      check "Enter closes the licence box" xsession_wait_window_gone "$LICENCE_TITLE" "$WINDOW_TIMEOUT"
    else
      fail "License... shows the installed licence text"
    fi
    xsession_key_to "$about" Escape
    check "Escape closes the about box" xsession_wait_window_gone "$ABOUT_TITLE" "$WINDOW_TIMEOUT"
  else
    fail "Alt+A opens the about box"
  fi
  check "the options dialog stays open" xsession_running cancel
  xsession_key_to "$options" Escape
  if xsession_wait_exit cancel "$EXIT_TIMEOUT"; then
    check_eq "Escape ends the launcher with 0" 0 "$XS_EXIT_CODE"
  else
    fail "Escape ends the launcher"
  fi
  expect_values "after Escape" PixelsUsed="REG_DWORD 0x800"
else
  fail "no argument opens the options dialog"
fi

# --- starting the show -------------------------------------------------------

xsession_spawn show "$LW_LAUNCHER_DIR" "$WINE" Quorvel3D.scr /s
if xs_poll "$START_TIMEOUT" test -s "$install/qvshow-started.txt"; then
  pass "/s starts qvshow.exe from the install folder"
  check_eq "the show runs in the install folder, without the trailing backslash" \
    "${INSTALL_DIR%\\}" "$(cat "$install/qvshow-started.txt")"
  sleep "$WAIT_CHECK_PAUSE"
  check "the launcher waits while the show runs" xsession_running show
  touch "$install/qvshow-release"
  if xsession_wait_exit show "$EXIT_TIMEOUT"; then
    check_eq "the launcher ends with 0 once the show has ended" 0 "$XS_EXIT_CODE"
  else
    fail "the launcher ends once the show has ended"
  fi
else
  fail "/s starts qvshow.exe from the install folder" "stderr: $(xsession_stderr show)"
fi
check_eq "the installed folder was not copied into the user's key" "" "$(lw_user_value InstallDir)"

# /s without a show to start: the message, then the end with 0.
expect_show_missing() {
  local name=$1 when=$2 box
  xsession_spawn "$name" "$LW_LAUNCHER_DIR" "$WINE" Quorvel3D.scr /S
  if ! box=$(xsession_wait_window "$ERROR_TITLE" "$WINDOW_TIMEOUT"); then
    fail "$when: the error message" "stderr: $(xsession_stderr "$name")"
    return
  fi
  pass "$when: the error message"
  check "$when: the message is painted" lw_wait_painted "$box" "$name" "$PAINT_TIMEOUT"
  check "$when: the launcher waits for the message to be read" xsession_running "$name"
  xsession_key_to "$box" Return
  if xsession_wait_exit "$name" "$EXIT_TIMEOUT"; then
    check_eq "$when: after the message the launcher ends with 0" 0 "$XS_EXIT_CODE"
  else
    fail "$when: after the message the launcher ends"
  fi
}

mkdir -p "$(wine_unix_path "$EMPTY_DIR")"
lw_machine_text InstallDir "$EMPTY_DIR"
expect_show_missing show-missing "an install folder without the show"

# No folder recorded anywhere: the launcher records an empty one for the user.
wine_reg delete "HKLM\\$LW_KEY" /v InstallDir /f >/dev/null
expect_show_missing no-install-dir "no install folder"
check_eq "a missing install folder is recorded empty" "REG_SZ" "$(lw_user_value InstallDir | sed 's/ *$//')"

xsession_finish
