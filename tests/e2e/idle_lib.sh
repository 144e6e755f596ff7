# What the idle runner's end-to-end scripts share: a real Wayland
# compositor started headless (sway, KWin or Mutter) with XWayland, the
# runner started in it with a short idle time, and the checks each script
# makes of it. Sourced, after hack_lib.sh or show_lib.sh.

IDLE_RUNNER="$QV_STAGE_DIR/quorvel3d-idle"
IDLE_SHOW="$QV_STAGE_DIR/quorvel3d"
QV_WLPROBE="$QV_BUILD_DIR/tools/qvwlprobe"
IDLE_TIME=2             # seconds, as the runner is told
IDLE_SHOW_TIMEOUT=30    # seconds for the shows to come once idle
IDLE_END_TIMEOUT=10     # seconds for the shows to go once told
IDLE_INHIBITED_WAIT=6   # seconds an inhibited runner is watched for
COMP_TIMEOUT=30         # seconds for a compositor and its XWayland to come up
COMP_USER=qvcompositor  # sway refuses to run as root
OUTPUT_SIZES=(800x600 640x480) # the first one alone where COMP_OUTPUTS=1
COMP_OUTPUTS=${COMP_OUTPUTS:-2}

COMP_NAME=""
COMP_RUNTIME=""   # the compositor's runtime folder, when made outside the temp folder
IDLE_SHOWS=()     # process ids of the runner's shows
declare -A COMP_OUTPUT_NAMES=() # monitor index -> the compositor's output name (sway)

idle_require_build() {
  for file in "$IDLE_RUNNER" "$IDLE_SHOW" "$QV_WLPROBE"; do
    [ -x "$file" ] || { printf 'missing %s: build quorvel3d-idle, quorvel3d and qvwlprobe first\n' "$file" >&2; exit 1; }
  done
}

idle_cleanup() {
  xsession_cleanup
  [ -n "$COMP_RUNTIME" ] && rm -rf "$COMP_RUNTIME"
  COMP_RUNTIME=""
}
trap idle_cleanup EXIT

# --- compositors ---------------------------------------------------------------

# The display of the XWayland the compositor started: KWin and Mutter start
# it at once, as their child, named on its command line.
xs_xwayland_display() {
  pgrep -P "$(xsession_pid compositor)" -a Xwayland | grep -o ' :[0-9]*' | head -n1 | tr -d ' '
}

xs_wayland_up() { [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; }
xs_x_answers() { xdpyinfo >/dev/null 2>&1; }

comp_wait_wayland() {
  if ! xs_poll "$COMP_TIMEOUT" xs_wayland_up; then
    fail "$COMP_NAME starts headless" "log: $(tail -n 5 "$XS_ARTEFACTS/compositor.err")"
    xsession_finish
  fi
}

comp_wait_xwayland() {
  xs_poll "$COMP_TIMEOUT" xs_xwayland_display >/dev/null || { fail "$COMP_NAME starts XWayland"; xsession_finish; }
  DISPLAY=$(xs_xwayland_display)
  export DISPLAY
}

comp_wait_x() {
  if xs_poll "$COMP_TIMEOUT" xs_x_answers; then
    xs_log "$COMP_NAME on $WAYLAND_DISPLAY, XWayland on $DISPLAY"
  else
    fail "XWayland on $DISPLAY answers"
    xsession_finish
  fi
}

# A session bus of the test's own: KWin and Mutter want one.
comp_session_bus() {
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
  xsession_spawn session-bus "$XS_TMP" dbus-daemon --session --nofork --nopidfile \
    --address="$DBUS_SESSION_BUS_ADDRESS"
  xs_poll 10 test -S "$XDG_RUNTIME_DIR/bus" || { fail "a session bus starts"; xsession_finish; }
}

# sway runs as an unprivileged user where the test is root; the runner and
# the shows stay the test's own, as XWayland's owner allows.
comp_start_sway() {
  COMP_NAME=sway
  command -v sway >/dev/null && command -v Xwayland >/dev/null && command -v grim >/dev/null ||
    xsession_skip "sway, Xwayland or grim is not installed (tools/install-deps installs them)"
  local as_user=()
  COMP_RUNTIME=$(mktemp -d "${TMPDIR:-/tmp}/qv-sway.XXXXXX")
  if [ "$(id -u)" -eq 0 ]; then
    id "$COMP_USER" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$COMP_USER" ||
      xsession_skip "cannot add the user $COMP_USER that sway runs as"
    chown "$COMP_USER:" "$COMP_RUNTIME"
    as_user=(setpriv "--reuid=$COMP_USER" "--regid=$COMP_USER" --init-groups)
  fi
  chmod 700 "$COMP_RUNTIME"
  printf 'xwayland enable\noutput HEADLESS-1 resolution %s\n' "${OUTPUT_SIZES[0]}" >"$COMP_RUNTIME/config"
  chmod 644 "$COMP_RUNTIME/config"
  export XDG_RUNTIME_DIR=$COMP_RUNTIME WAYLAND_DISPLAY=wayland-1
  xsession_spawn compositor / "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME=/ "XDG_RUNTIME_DIR=$COMP_RUNTIME" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$COMP_RUNTIME/config"
  comp_wait_wayland
  xs_poll 10 compgen -G "$COMP_RUNTIME/sway-ipc.*" >/dev/null || { fail "sway's IPC socket appears"; xsession_finish; }
  SWAYSOCK=$(compgen -G "$COMP_RUNTIME/sway-ipc.*" | head -n1)
  export SWAYSOCK
  # sway starts XWayland for the first X client; its display is in the
  # environment of what sway runs.
  swaymsg exec 'echo "$DISPLAY" >"$XDG_RUNTIME_DIR/display"' >/dev/null
  xs_poll 10 test -s "$COMP_RUNTIME/display" || { fail "sway names its XWayland display"; xsession_finish; }
  DISPLAY=$(cat "$COMP_RUNTIME/display")
  export DISPLAY
  COMP_OUTPUT_NAMES=([0]=HEADLESS-1)
  if ((COMP_OUTPUTS > 1)); then
    swaymsg create_output >/dev/null
    swaymsg output HEADLESS-2 resolution "${OUTPUT_SIZES[1]}" >/dev/null
    COMP_OUTPUT_NAMES[1]=HEADLESS-2
  fi
  swaymsg exec 'xhost +si:localuser:root' >/dev/null
  comp_wait_x
}

# kwin_wayland carries a file capability that a process without it in its
# bounding set cannot exec; a copy of the binary carries none.
comp_kwin_binary() {
  if kwin_wayland --version >/dev/null 2>&1; then
    command -v kwin_wayland
  else
    cp "$(command -v kwin_wayland)" "$XS_TMP/kwin_wayland" && printf '%s\n' "$XS_TMP/kwin_wayland"
  fi
}

comp_start_kwin() {
  COMP_NAME=KWin
  command -v kwin_wayland >/dev/null || xsession_skip "kwin_wayland is not installed (tools/install-deps installs it)"
  xsession_runtime_dir
  export WAYLAND_DISPLAY=qv-kwin
  comp_session_bus
  local width=${OUTPUT_SIZES[0]%x*} height=${OUTPUT_SIZES[0]#*x}
  xsession_spawn compositor "$XS_TMP" "$(comp_kwin_binary)" --virtual --xwayland --width "$width" \
    --height "$height" --output-count 2 --socket "$WAYLAND_DISPLAY"
  comp_wait_wayland
  comp_wait_xwayland
  comp_wait_x
}

xs_mutter_auth() { compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" >/dev/null; }

# Mutter takes its idle time back to zero on request only when told that
# it is tested: the one way to show it activity here.
comp_start_mutter() {
  COMP_NAME=Mutter
  command -v mutter >/dev/null || xsession_skip "mutter is not installed (tools/install-deps installs it)"
  xsession_runtime_dir
  export WAYLAND_DISPLAY=qv-mutter
  comp_session_bus
  xsession_spawn compositor "$XS_TMP" env MUTTER_DEBUG_RESET_IDLETIME=1 mutter --headless --wayland \
    --virtual-monitor "${OUTPUT_SIZES[0]}" --virtual-monitor "${OUTPUT_SIZES[1]}" \
    --wayland-display="$WAYLAND_DISPLAY"
  comp_wait_wayland
  comp_wait_xwayland
  xs_poll "$COMP_TIMEOUT" xs_mutter_auth || { fail "Mutter writes XWayland's authority file"; xsession_finish; }
  XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n1)
  export XAUTHORITY
  comp_wait_x
}

# Each monitor as "W H X Y", in the display's order.
comp_monitors() {
  xrandr --listmonitors | awk 'NR > 1 { split($3, g, /[x+\/]/); print g[1], g[3], g[5], g[6] }'
}

# --- the runner ----------------------------------------------------------------

idle_start_runner() {
  local name=$1; shift
  xsession_spawn "$name" "$XS_TMP" "${SHOW_SPAWN_ENV[@]}" "$IDLE_RUNNER" --idle-time "$IDLE_TIME" \
    --show "$IDLE_SHOW" "$@"
}

xs_children_of() { pgrep -P "$1" -x quorvel3d | sort -n; }

xs_shows_up() {
  local count
  count=$(xs_children_of "$1" | wc -l)
  ((count >= $2))
}

xs_shows_gone() { [ -z "$(xs_children_of "$1")" ]; }

# Waits for COUNT shows of runner NAME; sets IDLE_SHOWS.
idle_wait_shows() {
  local name=$1 count=$2 runner
  runner=$(xsession_pid "$name")
  IDLE_SHOWS=()
  xs_poll "$IDLE_SHOW_TIMEOUT" xs_shows_up "$runner" "$count" || return 1
  mapfile -t IDLE_SHOWS < <(xs_children_of "$runner")
}

# Runs COMMAND (input of some kind, described as HOW) and expects every show
# of runner NAME to end; prints how long they took.
idle_expect_shows_end() {
  local name=$1 how=$2; shift 2
  local runner started elapsed
  runner=$(xsession_pid "$name")
  started=$(date +%s%N)
  "$@" >/dev/null 2>&1
  if xs_poll "$IDLE_END_TIMEOUT" xs_shows_gone "$runner"; then
    elapsed=$((($(date +%s%N) - started) / 1000000))
    pass "$name: $how ends every show (after $elapsed ms)"
  else
    fail "$name: $how ends every show" "still running: $(xs_children_of "$runner" | tr '\n' ' ')"
  fi
}

# The runner starts nothing while INHIBITOR (a command run as NAME-inhibitor)
# holds off the idle time, and starts the shows once it is gone.
idle_expect_inhibited() {
  local name=$1 shows=$2 ready=$3; shift 3
  local runner
  runner=$(xsession_pid "$name")
  xsession_spawn "$name-inhibitor" "$XS_TMP" "$@"
  if [ -n "$ready" ] && ! xs_poll 10 grep -q "$ready" "$XS_ARTEFACTS/$name-inhibitor.out"; then
    fail "$name: the inhibitor holds" "$(xsession_stderr "$name-inhibitor")"
    return
  fi
  sleep "$IDLE_INHIBITED_WAIT"
  check "$name: no show starts while an inhibitor holds (${IDLE_INHIBITED_WAIT}s, idle time ${IDLE_TIME}s)" \
    xs_shows_gone "$runner"
  xs_stop_pid "$(xsession_pid "$name-inhibitor")"
  if idle_wait_shows "$name" "$shows"; then
    pass "$name: the shows come once the inhibitor has gone"
  else
    fail "$name: the shows come once the inhibitor has gone"
  fi
}

xs_runner_gone() { xs_gone "$(xsession_pid "$1")"; }

# Kills the compositor (as a crash would) and expects runner NAME to end
# with 0 and at most one line of its own, leaving no show behind.
idle_expect_end_with_compositor() {
  local name=$1 runner own
  runner=$(xsession_pid "$name")
  { kill -KILL "$(xsession_pid compositor)" && wait "$(xsession_pid compositor)"; } 2>/dev/null
  if xsession_wait_exit "$name" "$IDLE_END_TIMEOUT"; then
    check_eq "$name: ends with 0 once $COMP_NAME has gone" 0 "$XS_EXIT_CODE"
  else
    fail "$name: ends once $COMP_NAME has gone"
  fi
  own=$(grep -c '^quorvel3d-idle: ' "$XS_ARTEFACTS/$name.err")
  check_num "$name: says so in one line besides its first" "$own" '<=' 2
  check_eq "$name: leaves no show behind" "" "$(pgrep -f "^$IDLE_SHOW( |$)" | tr '\n' ' ')"
}

# The shows cover every monitor, each its own, with balls drawn: PICTURE
# MONITOR FILE takes a picture of monitor MONITOR.
idle_check_covered() {
  local name=$1 picture=$2 index=0 monitor shot
  while read -r monitor; do
    shot="$XS_ARTEFACTS/$name-monitor$index.png"
    if xs_poll "$SHOW_DRAW_TIMEOUT" idle_shot_has_balls "$picture" "$index" "$shot"; then
      pass "$name: monitor $index ($monitor) shows the swarm ($shot)"
    else
      fail "$name: monitor $index ($monitor) shows the swarm" "last picture: $shot" \
        "the shows' windows: $(idle_show_windows)"
    fi
    index=$((index + 1))
  done < <(comp_monitors)
}

idle_shot_has_balls() {
  local picture=$1 index=$2 shot=$3
  "$picture" "$index" "$shot" 2>/dev/null &&
    awk -v f="$(img_coloured_fraction "$shot")" -v min="$SHOW_MIN_COLOURED" \
        -v mean="$(img_mean "$shot")" -v max="$SHOW_MAX_MEAN" 'BEGIN { exit !(f > min && mean < max) }'
}

# Each show window's geometry, and whether it covers by itself.
idle_show_windows() {
  local id
  for id in $(xdotool search --name '^Quorvel 3D$' 2>/dev/null); do
    printf '%s: %s, %s; ' "$id" "$(xsession_window_geometry "$id")" \
      "$(xwininfo -id "$id" | awk -F': *' '/Map State|Override Redirect/ { printf "%s ", $2 }')"
  done
}

# A window opened after the shows stays under them: on sway as its own
# capture shows it, elsewhere in the stacking order the window manager
# keeps for XWayland's windows.
idle_check_above() {
  local name=$1 other shot="$XS_ARTEFACTS/$1-above.png"
  # Mutter alone keeps a maximised window out of the layer above: sway and
  # KWin maximise the shows too, and stack them as they should.
  if [ "$COMP_NAME" = Mutter ]; then
    check "$name: no show is maximised, which would take it out of the layer above the others" \
      idle_no_show_maximised
  fi
  xsession_spawn "$name-other" "$XS_TMP" xmessage -geometry "300x100$(idle_unfocused_corner)" \
    -xrm '*background: #c04000' "a window after the shows"
  other=$(xsession_wait_window xmessage 10) || { fail "$name: another window opens"; return; }
  sleep 1
  if [ "$COMP_NAME" = sway ]; then
    idle_picture_output 0 "$shot"
    check_num "$name: a window opened later stays under the show ($shot)" \
      "$(img_colour_share "$shot" '#c04000')" '<' 0.01
  else
    check "$name: a window opened later stays under the shows in the stacking order" \
      idle_stacked_under "$other"
  fi
  xs_stop_pid "$(xsession_pid "$name-other")"
}

idle_no_show_maximised() {
  local id
  for id in $(xdotool search --name '^Quorvel 3D$' 2>/dev/null); do
    if xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED; then
      echo "$id: $(xprop -id "$id" _NET_WM_STATE)"
      return 1
    fi
  done
}

# A little inside a show that has not the focus (where a window manager may
# let a new window above it), else inside the first monitor.
idle_unfocused_corner() {
  local focus id
  focus=$(($(xdotool getwindowfocus 2>/dev/null || echo 0)))
  for id in $(xdotool search --onlyvisible --name '^Quorvel 3D$' 2>/dev/null); do
    if ((id != focus)); then
      xsession_window_geometry "$id" | awk '{ printf "+%d+%d\n", $3 + 50, $4 + 50 }'
      return
    fi
  done
  echo "+50+50"
}

idle_stacked_under() {
  local other=$(($1)) seen_other=no id
  for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
    if ((id == other)); then
      seen_other=yes
    elif [ "$(xprop -id "$id" WM_NAME 2>/dev/null)" = 'WM_NAME(STRING) = "Quorvel 3D"' ] && [ $seen_other = no ]; then
      return 1
    fi
  done
  [ $seen_other = yes ]
}

# The show window whose geometry is monitor INDEX's.
idle_show_window_on() {
  local index=$1 area id
  area=$(comp_monitors | sed -n "$((index + 1))p")
  for id in $(xdotool search --onlyvisible --name '^Quorvel 3D$' 2>/dev/null); do
    if [ "$(xsession_window_geometry "$id")" = "$area" ]; then
      printf '%s\n' "$id"
      return 0
    fi
  done
  return 1
}

# Where the compositor has no capture tool for tests: the show's own
# window, read from XWayland.
idle_picture_window() {
  local id
  id=$(idle_show_window_on "$1") && import -window "$id" "png:$2"
}

# sway's own capture of one output.
idle_picture_output() { grim -o "${COMP_OUTPUT_NAMES[$1]}" "$2"; }
