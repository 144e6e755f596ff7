# What the show's end-to-end scripts share: starting qvshow from the stage
# folder, finding its window, and waiting for what it draws. Sourced, not run.

# shellcheck source=xsession.sh
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

QVSHOW="${QV_STAGE_DIR:?QV_STAGE_DIR must name the stage folder}/qvshow"
QV_PROBE="${QV_BUILD_DIR:?QV_BUILD_DIR must name the build folder}/tools/qvxprobe"

SHOW_WINDOW_TIMEOUT=60   # seconds until the show's window is mapped
SHOW_DRAW_TIMEOUT=90     # seconds until the first frame with balls is on screen
SHOW_EXIT_TIMEOUT=30     # seconds the show gets to end after being told to
SHOW_CURSOR_TIMEOUT=10   # seconds for the cursor to change after a start or end
SHOW_MIN_COLOURED=0.0005 # share of the screen the balls cover at least
SHOW_MIN_CHANGE=0.001    # share of the screen that changes when the swarm moves
SHOW_MAX_MEAN=0.3        # the show's screen is dark: a night sky or black

SHOW_WINDOW=""           # set by show_start
SHOW_SPAWN_ENV=()        # "env VAR=VALUE..." to put before the show's command
SHOW_SHOT=""             # the last screenshot show_wait_balls took

show_require_build() {
  local file
  for file in "$QVSHOW" "$QV_STAGE_DIR/data01" "$QV_STAGE_DIR/data/skybox.jpg" "$QV_PROBE"; do
    if [ ! -e "$file" ]; then
      printf 'missing %s: build the targets qvshow, qv_data and qvxprobe first\n' "$file" >&2
      exit 1
    fi
  done
}

# In a sanitizer build the leak check runs at exit, after the GL library has
# unloaded Mesa's software driver; blocks that the driver still held through
# its own globals then look leaked, with stacks that end in "<unknown module>"
# so that no suppression can name them. Loading the driver up front keeps it
# mapped, and its globals scanned, to the end; the sanitizer's runtime has to
# stay first among the preloaded libraries.
show_keep_gl_driver() {
  local runtime driver
  runtime=$(ldd "$QVSHOW" 2>/dev/null | awk '$1 ~ /^libasan\.so/ { print $3; exit }')
  [ -n "$runtime" ] || return 0
  for driver in /usr/lib/*/dri/swrast_dri.so /usr/lib64/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so; do
    if [ -e "$driver" ]; then
      SHOW_SPAWN_ENV=(env "LD_PRELOAD=$runtime:$driver${LD_PRELOAD:+:$LD_PRELOAD}")
      return 0
    fi
  done
}
show_keep_gl_driver

cursor_state() { "$QV_PROBE" cursor; }
xs_cursor_is() { [ "$(cursor_state)" = "$1" ]; }

# The server learns that a program has gone a moment after it has, so the
# cursor is given a little while to change before it is judged.
show_check_cursor() {
  local description=$1 state=$2
  xs_poll "$SHOW_CURSOR_TIMEOUT" xs_cursor_is "$state"
  check_eq "$description" "$state" "$(cursor_state)"
}

xs_display_geometry() {
  local size
  size=$(xsession_display_size)
  printf '%s %s 0 0\n' "${size%x*}" "${size#*x}"
}

xs_covers_display() { [ "$(xsession_window_geometry "$SHOW_WINDOW")" = "$(xs_display_geometry)" ]; }

# Waits for the show's window as SHOW_WINDOW, the first client window mapped
# since NAME was spawned (NAME is the show or a program that starts it). The
# window first maps as an ordinary one and only then turns full-screen, so
# the wait goes on until it covers the display (or the time is up: the
# checks that follow then say what is wrong).
show_wait_window() {
  local name=$1
  SHOW_WINDOW=$(xsession_wait_new_window "$SHOW_WINDOW_TIMEOUT") || {
    SHOW_WINDOW=""
    fail "$name: the show maps a window" "stderr: $(xsession_stderr "$name")"
    return 1
  }
  xs_poll "$SHOW_WINDOW_TIMEOUT" xs_covers_display || true
}

# Starts the show as NAME with ARGS and waits for its window.
show_start() {
  local name=$1; shift
  SHOW_WINDOW=""
  xsession_spawn "$name" "$QV_STAGE_DIR" "${SHOW_SPAWN_ENV[@]}" "$QVSHOW" "$@"
  show_wait_window "$name"
}

# Coloured pixels alone are not enough: a window manager's title bar has
# them too.
xs_shot_has_balls() {
  xsession_screenshot "$1" &&
    awk -v f="$(img_coloured_fraction "$1")" -v min="$SHOW_MIN_COLOURED" \
        -v mean="$(img_mean "$1")" -v max="$SHOW_MAX_MEAN" 'BEGIN { exit !(f > min && mean < max) }'
}

# Waits until a screenshot shows coloured balls; the last one taken is kept
# as SHOW_SHOT (named LABEL) whether or not the wait succeeded.
show_wait_balls() {
  local label=$1
  SHOW_SHOT="$XS_ARTEFACTS/$label.png"
  xs_poll "$SHOW_DRAW_TIMEOUT" xs_shot_has_balls "$SHOW_SHOT"
}

xs_shot_differs() {
  xsession_screenshot "$2" &&
    awk -v f="$(img_changed_fraction "$1" "$2")" -v min="$SHOW_MIN_CHANGE" 'BEGIN { exit !(f > min) }'
}

# True once the screen differs from the one at the call: the show drew at
# least one more frame, so it also handled every event sent before the call.
show_draws_on() {
  local label=$1
  local before="$XS_ARTEFACTS/$label-before.png" after="$XS_ARTEFACTS/$label-after.png"
  xsession_screenshot "$before" && xs_poll "$SHOW_DRAW_TIMEOUT" xs_shot_differs "$before" "$after"
}

show_check_covers_display() {
  local name=$1
  check_eq "$name: the window covers the whole $(xsession_display_size) display at 0,0" \
    "$(xs_display_geometry)" "$(xsession_window_geometry "$SHOW_WINDOW")"
}

show_check_frames() {
  local name=$1
  if show_wait_balls "$name-frame"; then
    pass "$name: draws coloured balls on a dark screen ($SHOW_SHOT)"
  else
    fail "$name: draws coloured balls on a dark screen" "last screenshot: $SHOW_SHOT"
    return 1
  fi
  check "$name: the swarm moves between two screenshots" show_draws_on "$name-moving"
}

# Expects NAME to end with 0 and to have said nothing.
show_expect_end() {
  local name=$1 how=$2
  if xsession_wait_exit "$name" "$SHOW_EXIT_TIMEOUT"; then
    check_eq "$name: ends with 0 after $how" 0 "$XS_EXIT_CODE"
  else
    fail "$name: ends after $how" "still running after ${SHOW_EXIT_TIMEOUT}s"
  fi
}

show_expect_quiet() {
  local name=$1
  check_eq "$name: prints nothing on stdout" "" "$(xsession_stdout "$name")"
  check_eq "$name: prints nothing on stderr" "" "$(xsession_stderr "$name")"
}

# The end of a run: the cursor hidden while it runs, END_COMMAND (described
# as HOW) ends it with 0, the cursor is back, and nothing was printed.
show_end_run() {
  local name=$1 how=$2 end_command=$3
  show_check_cursor "$name: the cursor is hidden while the show runs" hidden
  $end_command
  show_expect_end "$name" "$how"
  show_check_cursor "$name: the cursor is visible after the show" visible
  show_expect_quiet "$name"
}

# Prints the share of one core (in percent) that process PID used over
# SECONDS seconds.
show_cpu_percent() {
  local pid=$1 seconds=$2 before after
  before=$(awk '{ print $14 + $15 }' "/proc/$pid/stat") || return
  sleep "$seconds"
  after=$(awk '{ print $14 + $15 }' "/proc/$pid/stat") || return
  awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.2f\n", 100 * t / hz / s }'
}

# Expects NAME to go on running and drawing after HOW.
show_expect_goes_on() {
  local name=$1 how=$2
  if ! xsession_running "$name"; then
    fail "$name: still runs after $how" "it ended; stderr: $(xsession_stderr "$name")"
    return 1
  fi
  if show_draws_on "$name-after-$(printf '%s' "$how" | tr -c '[:alnum:]' -)"; then
    pass "$name: keeps drawing after $how"
  else
    fail "$name: keeps drawing after $how"
  fi
  check "$name: still runs after $how" xsession_running "$name"
}
