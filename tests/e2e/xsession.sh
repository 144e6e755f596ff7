# Shared harness for the end-to-end scripts: a virtual X server per script,
# programs run in it with their output captured, input sent with xdotool,
# screenshots taken from the server and judged with ImageMagick, and a
# check/fail report that ends with a summary.
#
# Source it, then call (names are stable; other scripts rely on them):
#
#   Sourcing alone exports a temp XDG_CONFIG_HOME / XDG_CONFIG_DIRS /
#   XDG_CACHE_HOME and sets an EXIT trap that stops every process started
#   here and removes the temp folder (a script that needs its own EXIT trap
#   calls xsession_cleanup from it).
#
#   Session
#     xsession_start SIZE [SERVER-ARGS...]  an X server at SIZE (WxH, depth 24,
#                                   white root) on a free display; exports
#                                   DISPLAY. Xvfb, or with XS_SERVER=xorg Xorg
#                                   with the dummy video driver, which has
#                                   video modes as a desktop's server does
#                                   (skipped where it cannot run)
#     xsession_server_name          prints which server runs
#     xsession_start_wm             openbox on that display, returns once it
#                                   manages the screen
#     xsession_display_size         prints WxH of the running server
#     xsession_temp_dir             prints the session's temp folder
#     xsession_runtime_dir          exports XDG_RUNTIME_DIR as a private (0700)
#                                   folder in the temp folder
#     xsession_lsan_suppressions FILE  programs started afterwards take their
#                                   leak suppressions from FILE (sanitizer builds)
#     XS_ARTEFACTS                  folder kept after the run (screenshots,
#                                   captured output): $QV_BUILD_DIR/e2e-artefacts/<script>
#
#   Settings (the user's settings file in the temp XDG_CONFIG_HOME)
#     xsession_settings_dword NAME NUMBER   adds "NAME"=dword:NUMBER; NUMBER is
#                                           decimal (4096, -1) or 0x-prefixed
#                                           hexadecimal, anything else ends
#                                           the script
#     xsession_settings_text NAME TEXT      adds "NAME"="TEXT", escaped
#     xsession_settings_clear               removes the file
#     xsession_settings_file                prints its path
#     xsession_settings_value NAME          prints what follows "NAME"= on each
#                                           line that sets NAME (dword:0000002a)
#
#   Programs
#     xsession_spawn NAME DIR CMD [ARGS...]  runs CMD in DIR in the background,
#                                   stdout/stderr to $XS_ARTEFACTS/NAME.out/.err;
#                                   also notes which windows exist now
#     xsession_running NAME         true while it runs
#     xsession_pid NAME             prints its process id
#     xsession_wait_child NAME PROGRAM TIMEOUT  waits for a process named
#                                   PROGRAM that NAME started and records it as
#                                   NAME/PROGRAM (for xsession_running,
#                                   xsession_pid and the cleanup; it is not this
#                                   shell's child, so not for xsession_wait_exit)
#     xsession_wait_exit NAME TIMEOUT  waits for the end; sets XS_EXIT_CODE;
#                                   returns 1 (after killing it) if it goes on
#     xsession_stdout NAME / xsession_stderr NAME   print the captured output
#     xsession_wait_window PATTERN TIMEOUT  prints the id of a visible window
#                                   whose name or class matches PATTERN
#     xsession_wait_new_window TIMEOUT  prints the id of a client window (one
#                                   with WM_PROTOCOLS) mapped since the last
#                                   xsession_spawn; for windows without a name
#     xsession_wait_window_gone PATTERN TIMEOUT  true once no visible window
#                                   matches PATTERN
#     xsession_window_geometry ID   prints "W H X Y" (absolute)
#
#   Input (xdotool, to whatever has the focus or lies under the pointer)
#     xsession_key KEY...   xsession_key_down KEY   xsession_key_up KEY
#     xsession_click BUTTON (1 left, 2 middle, 3 right)
#     xsession_move X Y     xsession_wheel up|down [COUNT]
#     xsession_key_to ID KEY...   gives window ID the focus, then presses the
#                           keys one by one (for dialogs that move the focus)
#
#   Screenshots and pictures (values print as numbers 0..1 unless noted)
#     xsession_screenshot OUT.png          the whole screen, from the server
#     xsession_keep_screenshot NAME        into XS_ARTEFACTS; prints the path
#     img_mean FILE [CROP]                 mean brightness (CROP: WxH+X+Y)
#     img_max FILE [CROP]                  brightest pixel
#     img_lit_fraction FILE [LEVEL] [CROP] share of pixels brighter than LEVEL (5%)
#     img_coloured_fraction FILE [CROP]    share of strongly coloured pixels
#     img_colour_count FILE                number of distinct colours
#     img_colour_share FILE COLOUR         share of pixels of about COLOUR
#     img_changed_fraction A B             share of pixels that differ
#
#   Reporting
#     check DESC CMD [ARGS...]   passes when CMD succeeds
#     check_num DESC VALUE OP LIMIT   numeric comparison, OP one of < <= > >= == !=
#     check_eq DESC EXPECTED ACTUAL
#     pass DESC / fail DESC [DETAIL...]   a failure keeps a screenshot if a
#                                server runs and prints its path
#     xsession_finish            prints the summary; exits 1 if anything failed
#     xsession_skip REASON       exits 77 (skipped) with REASON, unless a check
#                                has failed already: then as xsession_finish

set -uo pipefail

XS_SCRIPT_NAME=$(basename "${BASH_SOURCE[-1]}" .sh) # the outermost script
XS_ARTEFACTS="${QV_BUILD_DIR:-/tmp}/e2e-artefacts/${XS_SCRIPT_NAME}"
XS_POLL_STEP=0.2          # seconds between two looks while waiting
XS_KILL_GRACE=5           # seconds a program gets between TERM and KILL
XS_SERVER_TIMEOUT=30      # seconds for Xvfb or the window manager to come up
XS_COLOUR_CHROMA=25%      # chroma above which a pixel counts as coloured
XS_CHANGE_FUZZ=2%         # differences below this are noise, not change
XS_KEY_DELAY=60           # milliseconds between the keys xsession_key_to presses
XS_SERVER=${XS_SERVER:-xvfb} # or xorg: Xorg with the dummy video driver

XS_TMP=""
XS_SERVER_PID=""
XS_WM_PID=""
XS_WINDOWS_BEFORE=""
XS_EXIT_CODE=""
XS_CHECKS=0
XS_FAILURES=()
declare -A XS_PIDS=()

rm -rf "$XS_ARTEFACTS"
mkdir -p "$XS_ARTEFACTS"

xs_log() { printf '%s\n' "$*" >&2; }

# Runs CMD until it succeeds or TIMEOUT seconds have passed.
xs_poll() {
  local timeout=$1; shift
  local deadline=$((SECONDS + timeout))
  until "$@"; do
    ((SECONDS >= deadline)) && return 1
    sleep "$XS_POLL_STEP"
  done
}

xs_alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }
xs_gone() { ! kill -0 "$1" 2>/dev/null; }

# TERM, then KILL if it will not go; reaps the process.
xs_stop_pid() {
  local pid=$1
  [ -n "$pid" ] || return 0
  if xs_alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null
    xs_poll "$XS_KILL_GRACE" xs_gone "$pid" || kill -KILL "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  return 0
}

xsession_cleanup() {
  local name
  for name in "${!XS_PIDS[@]}"; do xs_stop_pid "${XS_PIDS[$name]}"; done
  XS_PIDS=()
  xs_stop_pid "$XS_WM_PID"
  xs_stop_pid "$XS_SERVER_PID"
  XS_WM_PID="" XS_SERVER_PID=""
  [ -n "$XS_TMP" ] && rm -rf "$XS_TMP"
  XS_TMP=""
}
trap xsession_cleanup EXIT
trap 'exit 130' INT TERM

# Made as soon as the harness is sourced: nothing a test does may read or
# touch the real user's settings.
XS_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qv-e2e.XXXXXX")
mkdir -p "$XS_TMP/config" "$XS_TMP/config-sys" "$XS_TMP/cache"
export XDG_CONFIG_HOME="$XS_TMP/config"
export XDG_CONFIG_DIRS="$XS_TMP/config-sys"
export XDG_CACHE_HOME="$XS_TMP/cache"

xsession_temp_dir() { printf '%s\n' "$XS_TMP"; }

# Toolkits keep sockets and locks there; a private one keeps them away from
# the user's session.
xsession_runtime_dir() {
  mkdir -p "$XS_TMP/runtime" && chmod 700 "$XS_TMP/runtime"
  export XDG_RUNTIME_DIR="$XS_TMP/runtime"
}

# The path is made absolute because the programs run in folders of their own.
# Options already in LSAN_OPTIONS come after, so they keep the last word.
xsession_lsan_suppressions() {
  local file
  file="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  [ -r "$file" ] || { xs_log "no suppression file $1"; exit 1; }
  export LSAN_OPTIONS="suppressions=$file${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

xs_server_answers() { xdpyinfo -display "$1" >/dev/null 2>&1; }

XS_XORG_CONFIG="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/xorg-dummy.conf"
XS_XORG_DRIVER_GLOB='/usr/lib/xorg/modules/drivers/dummy_drv.so'

# Why Xorg with the dummy driver cannot run here, or nothing.
xs_xorg_missing() {
  command -v Xorg >/dev/null || { echo "Xorg is not installed (tools/install-deps installs it)"; return; }
  compgen -G "$XS_XORG_DRIVER_GLOB" >/dev/null || { echo "the dummy video driver is not installed"; return; }
  # An unprivileged Xorg reads only configuration files from the system's
  # own folders.
  [ "$(id -u)" -eq 0 ] || echo "Xorg takes a configuration file from the tree only when run as root"
}

# Starts the server, which writes its display number to FD_FILE.
xs_launch_server() {
  local size=$1 fd_file=$2; shift 2
  if [ "$XS_SERVER" = xorg ]; then
    mkdir -p "$XS_TMP/xorg.conf.d"
    Xorg -displayfd 3 -config "$XS_XORG_CONFIG" -configdir "$XS_TMP/xorg.conf.d" -nolisten tcp -noreset \
      -logfile "$XS_ARTEFACTS/xorg.log" "$@" 3>"$fd_file" >"$XS_ARTEFACTS/server.log" 2>&1 &
  else
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset -wr "$@" \
      3>"$fd_file" >"$XS_ARTEFACTS/server.log" 2>&1 &
  fi
  XS_SERVER_PID=$!
}

# Xorg starts in the first mode of its configuration and has a root that
# is not white.
xs_settle_xorg() {
  local size=$1
  if [ "$(xsession_display_size)" != "$size" ] && ! xrandr -s "$size" >/dev/null 2>&1; then
    xs_log "Xorg cannot switch to $size"
    exit 1
  fi
  xsetroot -solid white
}

xsession_start() {
  local size=$1; shift
  local fd_file="$XS_TMP/display-number" why
  if [ "$XS_SERVER" = xorg ] && why=$(xs_xorg_missing) && [ -n "$why" ]; then
    xsession_skip "no Xorg: $why"
  fi
  # -displayfd lets the server pick a free display number and tell us. The
  # root is white so that a window that draws nothing, or the leftovers of
  # one that has gone, never pass for a dark picture. Without -noreset the
  # server resets whenever its last client leaves, and refuses whoever
  # connects in that moment.
  xs_launch_server "$size" "$fd_file" "$@"
  if ! xs_poll "$XS_SERVER_TIMEOUT" test -s "$fd_file"; then
    xs_log "$(xsession_server_name) did not start; its log: $XS_ARTEFACTS/server.log"
    cat "$XS_ARTEFACTS/server.log" >&2
    exit 1
  fi
  DISPLAY=":$(head -n1 "$fd_file" | tr -d '[:space:]')"
  export DISPLAY
  if ! xs_poll "$XS_SERVER_TIMEOUT" xs_server_answers "$DISPLAY"; then
    xs_log "$(xsession_server_name) on $DISPLAY does not answer"
    exit 1
  fi
  [ "$XS_SERVER" = xorg ] && xs_settle_xorg "$size"
  xs_log "X server $DISPLAY ($(xsession_server_name)) at $size"
}

xsession_server_name() { if [ "$XS_SERVER" = xorg ]; then echo "Xorg, dummy driver"; else echo Xvfb; fi; }

xs_wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

xsession_start_wm() {
  openbox >"$XS_ARTEFACTS/openbox.log" 2>&1 &
  XS_WM_PID=$!
  if ! xs_poll "$XS_SERVER_TIMEOUT" xs_wm_ready; then
    xs_log "openbox did not take the screen; its log: $XS_ARTEFACTS/openbox.log"
    exit 1
  fi
}

xsession_display_size() { xdpyinfo | awk '/dimensions:/ { print $2; exit }'; }

# --- settings file -----------------------------------------------------------

XS_SETTINGS_SECTION='[HKEY_LOCAL_MACHINE\SOFTWARE\Brenmark\Quorvel 3D]'

xsession_settings_file() { printf '%s\n' "$XDG_CONFIG_HOME/quorvel3d/settings.reg"; }
xsession_settings_clear() { rm -f "$(xsession_settings_file)"; }

xsession_settings_value() {
  local file
  file=$(xsession_settings_file)
  [ -r "$file" ] || return 0
  # Through the environment: awk -v would read backslashes as escapes.
  XS_KEY="\"$1\"=" awk 'index($0, ENVIRON["XS_KEY"]) == 1 { print substr($0, length(ENVIRON["XS_KEY"]) + 1) }' "$file"
}

xs_settings_add() {
  local file
  file=$(xsession_settings_file)
  mkdir -p "$(dirname "$file")"
  [ -s "$file" ] || printf 'REGEDIT4\n\n%s\n' "$XS_SETTINGS_SECTION" >"$file"
  printf '%s\n' "$1" >>"$file"
}

# Bare hexadecimal digits would pass for decimal, and a leading zero would
# make the shell read octal: both are refused rather than guessed at.
xs_readable_number() { [[ $1 =~ ^-?(0|[1-9][0-9]{0,9})$ || $1 =~ ^0[xX][0-9a-fA-F]{1,8}$ ]]; }

xsession_settings_dword() {
  if ! xs_readable_number "$2"; then
    xs_log "xsession_settings_dword $1: '$2' is neither a decimal number nor 0x and hexadecimal digits"
    exit 1
  fi
  xs_settings_add "$(printf '"%s"=dword:%08x' "$1" $(($2 & 0xFFFFFFFF)))"
}

xsession_settings_text() {
  local text=${2//\\/\\\\}
  xs_settings_add "\"$1\"=\"${text//\"/\\\"}\""
}

# --- programs ----------------------------------------------------------------

xs_visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }

xsession_spawn() {
  local name=$1 dir=$2; shift 2
  XS_WINDOWS_BEFORE=$(xs_visible_windows)
  (cd "$dir" && exec "$@") >"$XS_ARTEFACTS/$name.out" 2>"$XS_ARTEFACTS/$name.err" </dev/null &
  XS_PIDS[$name]=$!
}

xsession_running() { xs_alive "${XS_PIDS[$1]:-}"; }
xsession_pid() { printf '%s\n' "${XS_PIDS[$1]:-}"; }

xs_child_of() { pgrep -P "$1" -x "$2" | head -n1 | grep .; }

xsession_wait_child() {
  local name=$1 program=$2 timeout=$3
  local parent=${XS_PIDS[$name]:-} child
  [ -n "$parent" ] || { xs_log "nothing named '$name' was started"; return 1; }
  xs_poll "$timeout" xs_child_of "$parent" "$program" >/dev/null || return 1
  child=$(xs_child_of "$parent" "$program") || return 1
  XS_PIDS[$name/$program]=$child
}

xsession_wait_exit() {
  local name=$1 timeout=$2
  local pid=${XS_PIDS[$name]:-}
  XS_EXIT_CODE=""
  [ -n "$pid" ] || { xs_log "nothing named '$name' was started"; return 1; }
  if ! xs_poll "$timeout" xs_gone "$pid"; then
    xs_log "$name is still running after ${timeout}s; stopping it"
    xs_stop_pid "$pid"
    unset "XS_PIDS[$name]"
    return 1
  fi
  wait "$pid"
  # shellcheck disable=SC2034 # read by the scripts
  XS_EXIT_CODE=$?
  unset "XS_PIDS[$name]"
}

xsession_stdout() { cat "$XS_ARTEFACTS/$1.out"; }
xsession_stderr() { cat "$XS_ARTEFACTS/$1.err"; }

xs_find_window() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep . ||
    xdotool search --onlyvisible --class "$1" 2>/dev/null | head -n1 | grep .
}

xsession_wait_window() {
  local pattern=$1 timeout=$2
  xs_poll "$timeout" xs_find_window "$pattern" >/dev/null || return 1
  xs_find_window "$pattern"
}

# Window managers add frames of their own; the client's window is the one
# that speaks the ICCCM protocols.
xs_new_client_window() {
  local id
  for id in $(comm -13 <(printf '%s\n' "$XS_WINDOWS_BEFORE") <(xs_visible_windows)); do
    if xprop -id "$id" WM_PROTOCOLS 2>/dev/null | grep -q '(ATOM)'; then
      printf '%s\n' "$id"
      return 0
    fi
  done
  return 1
}

xsession_wait_new_window() {
  xs_poll "$1" xs_new_client_window >/dev/null || return 1
  xs_new_client_window
}

xs_no_window() { ! xs_find_window "$1" >/dev/null; }

xsession_wait_window_gone() { xs_poll "$2" xs_no_window "$1"; }

xsession_window_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^  Width:/ { w = $NF }
    /^  Height:/ { h = $NF }
    END { if (w != "") print w, h, x, y }'
}

# --- input -------------------------------------------------------------------

xsession_key() { xdotool key "$@"; }
xsession_key_down() { xdotool keydown "$1"; }
xsession_key_up() { xdotool keyup "$1"; }
xsession_click() { xdotool click "$1"; }
xsession_move() { xdotool mousemove "$1" "$2"; }

xsession_key_to() {
  local window=$1; shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
  xdotool key --delay "$XS_KEY_DELAY" "$@"
}

xsession_wheel() {
  local button=4
  [ "$1" = down ] && button=5
  xdotool click --repeat "${2:-1}" "$button"
}

# --- screenshots and pictures ------------------------------------------------

# The root window as the server holds it. xwd's reading of the root goes
# window by window when their colour maps differ, and returns a dialog opened
# over another one (Qt's or Wine's) as black although the server shows it
# painted; ImageMagick reads the root as one picture.
xsession_screenshot() { import -display "$DISPLAY" -window root "png:$1"; }

# Numbered in the order taken; callers often run this in a subshell, so the
# count comes from the folder rather than a variable.
xsession_keep_screenshot() {
  local count out
  count=$(find "$XS_ARTEFACTS" -maxdepth 1 -name '*.png' | wc -l)
  out="$XS_ARTEFACTS/$(printf '%02d' $((count + 1)))-$1.png"
  xsession_screenshot "$out" && printf '%s\n' "$out"
}

xs_crop() { if [ -n "${1:-}" ]; then printf -- '-crop %s +repage' "$1"; fi; }

# shellcheck disable=SC2046 # the crop options are meant to split
img_mean() { convert "$1" $(xs_crop "${2:-}") -colorspace Gray -format '%[fx:mean]' info:; }
# shellcheck disable=SC2046
img_max() { convert "$1" $(xs_crop "${2:-}") -colorspace Gray -format '%[fx:maxima]' info:; }

# shellcheck disable=SC2046
img_lit_fraction() {
  convert "$1" $(xs_crop "${3:-}") -colorspace Gray -threshold "${2:-5%}" -format '%[fx:mean]' info:
}

# Chroma (the spread between the strongest and weakest channel) separates the
# coloured balls from grey stars and a dark sky.
# shellcheck disable=SC2046
img_coloured_fraction() {
  convert "$1" $(xs_crop "${2:-}") -colorspace HCL -channel G -separate +channel -threshold "$XS_COLOUR_CHROMA" \
    -format '%[fx:mean]' info:
}

img_colour_count() { identify -format '%k' "$1"; }

# Share of pixels within 10 % of COLOUR (any ImageMagick colour: red, #ff0000).
img_colour_share() {
  convert "$1" -alpha off -fuzz 10% -transparent "$2" -alpha extract -negate -format '%[fx:mean]' info:
}

img_changed_fraction() {
  local changed pixels
  changed=$(compare -metric AE -fuzz "$XS_CHANGE_FUZZ" "$1" "$2" null: 2>&1)
  pixels=$(identify -format '%[fx:w*h]' "$1")
  awk -v c="$changed" -v p="$pixels" 'BEGIN { printf "%.6f\n", c / p }'
}

# --- reporting ---------------------------------------------------------------

pass() {
  XS_CHECKS=$((XS_CHECKS + 1))
  printf 'ok   %s\n' "$1"
}

fail() {
  XS_CHECKS=$((XS_CHECKS + 1))
  local description=$1; shift
  XS_FAILURES+=("$description")
  printf 'FAIL %s\n' "$description"
  local detail
  for detail in "$@"; do printf '     %s\n' "$detail"; done
  if [ -n "$XS_SERVER_PID" ] && xs_alive "$XS_SERVER_PID"; then
    local shot
    shot=$(xsession_keep_screenshot "failure") && printf '     screen at failure: %s\n' "$shot"
  fi
}

check() {
  local description=$1; shift
  if "$@"; then pass "$description"; else fail "$description" "command: $*"; fi
}

check_num() {
  local description=$1 value=$2 op=$3 limit=$4
  if awk -v v="$value" -v l="$limit" -v op="$op" 'BEGIN {
      if (v !~ /^-?[0-9.]+(e-?[0-9]+)?$/) exit 1
      v += 0; l += 0
      ok = (op == "<" && v < l) || (op == "<=" && v <= l) || (op == ">" && v > l) ||
           (op == ">=" && v >= l) || (op == "==" && v == l) || (op == "!=" && v != l)
      exit !ok }'; then
    pass "$description ($value $op $limit)"
  else
    fail "$description" "value '$value', wanted $op $limit"
  fi
}

check_eq() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected '$2'" "actual   '$3'"; fi
}

xsession_finish() {
  local failed=${#XS_FAILURES[@]}
  printf '\n%s: %d checks, %d failed\n' "$XS_SCRIPT_NAME" "$XS_CHECKS" "$failed"
  local description
  for description in "${XS_FAILURES[@]}"; do printf '  failed: %s\n' "$description"; done
  ((failed == 0)) || printf '  artefacts: %s\n' "$XS_ARTEFACTS"
  ((XS_CHECKS > 0 && failed == 0)) && exit 0
  exit 1
}

xsession_skip() {
  ((${#XS_FAILURES[@]} == 0)) || xsession_finish
  printf '\n%s: SKIP %s (after %d checks)\n' "$XS_SCRIPT_NAME" "$1" "$XS_CHECKS"
  exit 77
}
