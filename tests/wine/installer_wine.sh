#!/usr/bin/env bash
# The Windows installer under Wine: a silent install puts the stage's files
# into the folder, the screen saver into the system folder and the folder
# (with its trailing backslash) into the machine's settings key; the
# installed screen saver then runs the installed show; a silent uninstall
# takes all of that away again and leaves what the user added. A second
# install into another folder removes the first.
#
# QV_WIN_BUILD names the Windows build folder (its Quorvel3D-Setup.exe and
# stage/).
source "$(dirname "$0")/wine_lib.sh"

SETUP="$QV_WIN_BUILD/Quorvel3D-Setup.exe"
KEY='HKLM\SOFTWARE\Brenmark\Quorvel 3D'
APPS_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel 3D'
DEFAULT_DIR='C:\Program Files\Brenmark\Quorvel 3D\'
CHOSEN_DIR='C:\Games\Q 3D\'
FOLDER_FILES=(qvshow.exe Irrlicht.dll data01 License.txt
  data/bb_ball_01.jpg data/bb_ball_02.jpg data/bb_ball_03.jpg data/bb_ball_04.jpg
  data/bb_ball_05.jpg data/bb_ball_06.jpg data/skybox.jpg)

SCREEN=1024x768
SHOW_TIMEOUT=90   # seconds until the show draws; Wine starts slowly
EXIT_TIMEOUT=30   # seconds for the screen saver to end after the key press

[ -e "$SETUP" ] || { xs_log "missing $SETUP: run tools/build-windows"; exit 1; }

reg_value() {
  wine_reg query "$1" /v "$2" | sed -n "s/^ *$2 \{4\}REG_SZ \{4\}//p"
}

install_dir_value() { reg_value "$KEY" InstallDir; }

system_scr() { printf '%s/drive_c/windows/system32/Quorvel3D.scr\n' "$WINEPREFIX"; }

# The uninstaller copies itself away and returns at once; the copy is done
# when Wine has no process left.
uninstall() {
  wine_run "$(wine_unix_path "$1")/Uninstall.exe" /S
  wine_wait_idle
}

check_installed() {
  local dir=$1 folder file
  folder=$(wine_unix_path "$dir")
  check_eq "$dir: InstallDir names the folder with its trailing backslash" "$dir" "$(install_dir_value)"
  for file in "${FOLDER_FILES[@]}"; do
    check "$dir: $file is the stage's" cmp -s "$WINE_STAGE/$file" "$folder/$file"
  done
  if [ -e "$WINE_STAGE/Quorvel3D.scr" ]; then
    check "$dir: the screen saver is in the system folder" cmp -s "$WINE_STAGE/Quorvel3D.scr" "$(system_scr)"
  fi
}

check_removed() {
  local dir=$1
  check "$dir: the settings key has gone" sh -c "! '$WINE' reg query '$KEY' >/dev/null 2>&1"
  check "$dir: the screen saver has gone" test ! -e "$(system_scr)"
}

# As Windows starts a screen saver: from the system folder, with /s.
run_installed_saver() {
  local window shot
  xsession_spawn saver "$WINEPREFIX/drive_c/windows/system32" "$WINE" 'C:\windows\system32\Quorvel3D.scr' /s
  if ! window=$(xsession_wait_window '^Quorvel 3D$' "$SHOW_TIMEOUT"); then
    fail "the installed screen saver starts the show" "$(xsession_stderr saver | tail -n 5)"
    return
  fi
  if shot=$(wine_wait_swarm "$SHOW_TIMEOUT"); then
    pass "the installed screen saver starts the show, which draws the swarm (kept: $shot)"
  else
    fail "the installed show draws the swarm" "screen: $(xsession_keep_screenshot no-swarm)"
  fi
  xsession_key_to "$window" space
  if xsession_wait_exit saver "$EXIT_TIMEOUT"; then
    check_eq "a key press ends the show and the screen saver with 0" 0 "$XS_EXIT_CODE"
  else
    fail "a key press ends the show and the screen saver"
  fi
  wine_wait_idle
}

wine_session_start "$SCREEN"

wine_run "$SETUP" /S
wine_wait_idle
check_installed "$DEFAULT_DIR"
[ -e "$WINE_STAGE/Quorvel3D.scr" ] && run_installed_saver
uninstall "$DEFAULT_DIR"
check_removed "$DEFAULT_DIR"
check "$DEFAULT_DIR: the folder has gone" test ! -e "$(wine_unix_path "$DEFAULT_DIR")"
check "$DEFAULT_DIR: the maker's empty folder has gone" test ! -e "$(dirname "$(wine_unix_path "$DEFAULT_DIR")")"

# A folder of the user's choice; a file the user put there stays, and so does
# the folder holding it.
# NSIS takes the rest of its command line, unquoted, as the folder; Wine
# would quote one argument holding a space, so the words go separately.
read -ra chosen_words <<<"/D=${CHOSEN_DIR%\\}"
wine_run "$SETUP" /S "${chosen_words[@]}"
wine_wait_idle
check_installed "$CHOSEN_DIR"
chosen=$(wine_unix_path "$CHOSEN_DIR")
echo "my notes" >"$chosen/notes.txt"
uninstall "$CHOSEN_DIR"
check_removed "$CHOSEN_DIR"
check "$CHOSEN_DIR: the user's file stays" test -f "$chosen/notes.txt"
check_eq "$CHOSEN_DIR: nothing else stays" "notes.txt" "$(ls -A "$chosen")"
rm -rf "$chosen"

# A second install into another folder takes the first away, so that the
# one entry in Apps covers all there is.
wine_run "$SETUP" /S
wine_wait_idle
wine_run "$SETUP" /S "${chosen_words[@]}"
wine_wait_idle
check_installed "$CHOSEN_DIR"
check_eq "the Apps entry names the second folder's uninstaller" \
  "\"${CHOSEN_DIR}Uninstall.exe\"" "$(reg_value "$APPS_KEY" UninstallString)"
check "$DEFAULT_DIR: the first folder and the maker's have gone" \
  test ! -e "$(dirname "$(wine_unix_path "$DEFAULT_DIR")")"
uninstall "$CHOSEN_DIR"
check_removed "$CHOSEN_DIR"
check "$CHOSEN_DIR: nothing of either install stays" test ! -e "$chosen"

xsession_finish
