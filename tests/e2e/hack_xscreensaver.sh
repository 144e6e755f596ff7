#!/usr/bin/env bash
# quorvel3d under the real xscreensaver daemon: a ~/.xscreensaver that lists
# only our program, "xscreensaver-command -activate" shows the swarm,
# programs lines with the options the descriptor offers run it with them
# (few small balls against many large ones, without the sky), and the
# user's settings file stays as it was; "-cycle" stops a run by SIGTERM,
# which the daemon logs as a normal end, and "-deactivate" ends it and
# leaves no process behind. The daemon starts no programs for root, so as
# root the daemon runs as a test user.
source "$(dirname "$0")/hack_lib.sh"

SAVER_USER=qvsaver
DAEMON_TIMEOUT=30 # seconds for the daemon to answer, or a program to start or go
SETTLE_SECONDS=4  # for the swarm to spread out after its first frame
FEW_SMALL=(--count 256 --size 1.0 --no-sky)
MANY_LARGE=(--count 4096 --size 8.0 --no-sky)
DARK=0.5%         # brightness up to which a pixel is the black of an empty view
LIT=2%            # and above which a ball lights it (the sky is dimmer than that)
MIN_BLACK=0.5     # share of black pixels in a view without the sky box at least
MAX_SKY_BLACK=0.2 # and in one with it at most
MIN_LIT_RATIO=5   # many large balls light up that many times more of the screen
SPREAD_TIMEOUT=150 # seconds for a swarm drawn into a knot to spread again (knots last 20 s and more)
# shellcheck source=saver_user_lib.sh
source "$(dirname "$0")/saver_user_lib.sh"

# The program and its pictures go into the user's home: the build folder
# may be closed to other users. It finds the pictures beside itself.
make_saver_home() {
  saver_home_make qv-saver
  mkdir -p "$SAVER_HOME/hack"
  cp -r "$QV_HACK" "$QV_STAGE_DIR/data01" "$QV_STAGE_DIR/data" "$SAVER_HOME/hack/"
  cat >"$SAVER_HOME/.xscreensaver" <<CONFIG
mode: one
selected: 0
timeout: 1:00:00
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
programs: GL: "Quorvel 3D" $SAVER_HOME/hack/quorvel3d --root \\n\\
  GL: "Quorvel 3D few small" $SAVER_HOME/hack/quorvel3d --root ${FEW_SMALL[*]} \\n\\
  GL: "Quorvel 3D many large" $SAVER_HOME/hack/quorvel3d --root ${MANY_LARGE[*]} \\n
CONFIG
  # Every value present, as the programs write them, so that nothing is
  # written back: the file must stay byte for byte as it is.
  local settings=$SAVER_HOME/.config/quorvel3d/settings.reg
  mkdir -p "$(dirname "$settings")"
  {
    printf 'REGEDIT4\n\n%s\n' "$XS_SETTINGS_SECTION"
    printf '"%s"=dword:%s\n' PixelsUsed 00000400 PixelsSize 40000000 PixelsColor 00000000 UseLighting 00000000 \
      CameraDistance 430c0000 CameraSpeed 3a03126f UseBackground 00000001
    printf '"InstallDir"=""\n'
  } >"$settings"
  SETTINGS_SUM=$(sha256sum <"$settings")
  chmod -R a+rX "$SAVER_HOME"
  [ "$(id -u)" -eq 0 ] && chown -R "$SAVER_USER:" "$SAVER_HOME"
  return 0
}

xs_daemon_answers() { as_saver_user xscreensaver-command -version >/dev/null 2>&1; }
xs_hack_pids() { pgrep -u "$(saver_user)" -x quorvel3d; }
xs_hack_runs() { xs_hack_pids >/dev/null; }
xs_hack_gone() { ! xs_hack_runs; }
xs_hack_args() { pgrep -u "$(saver_user)" -x -a quorvel3d | cut -d' ' -f3-; }
xs_hack_args_are() { [ "$(xs_hack_args)" = "$1" ]; }
black_fraction() { awk -v lit="$(img_lit_fraction "$1" "$DARK")" 'BEGIN { printf "%.4f\n", 1 - lit }'; }
lit_fraction_above() { awk -v f="$(img_lit_fraction "$1" "$LIT")" -v min="$2" 'BEGIN { exit !(f > min) }'; }
shot_lit_above() { xsession_screenshot "$1" && lit_fraction_above "$1" "$2"; }

# "-select N" runs the Nth programs line (counted from 1); its screen is
# kept as LABEL.
select_program() {
  local index=$1 label=$2 expected=$3
  as_saver_user xscreensaver-command -select "$index" >/dev/null
  if ! xs_poll "$DAEMON_TIMEOUT" xs_hack_args_are "$expected"; then
    fail "-select $index runs quorvel3d $expected" "running: $(xs_hack_args)" "daemon log: $XS_ARTEFACTS/daemon.err"
    return 1
  fi
  pass "-select $index runs quorvel3d $expected"
  show_wait_balls "$label-first" || { fail "$label: the screen shows the swarm" "last screenshot: $SHOW_SHOT"; return 1; }
  sleep "$SETTLE_SECONDS"
  SHOT=$(xsession_keep_screenshot "$label")
}

run_programs_with_options() {
  local few many
  select_program 2 few-small "--root ${FEW_SMALL[*]}" || return
  few=$SHOT
  local few_lit wanted
  few_lit=$(img_lit_fraction "$few" "$LIT")
  wanted=$(awk -v f="$few_lit" -v r="$MIN_LIT_RATIO" 'BEGIN { print f * r }')
  select_program 3 many-large "--root ${MANY_LARGE[*]}" || return
  many=$SHOT
  # Some effects draw the whole swarm into a knot for a few seconds, so one
  # view may catch it there: it is taken again until the swarm has spread.
  if ! lit_fraction_above "$many" "$wanted"; then
    many=$XS_ARTEFACTS/many-large-spread.png
    xs_poll "$SPREAD_TIMEOUT" shot_lit_above "$many" "$wanted" || true
  fi
  select_program 1 settings "--root" || return
  check_num "few small balls light up little of the screen ($few)" "$few_lit" '<' 0.2
  check_num "many large balls light up $MIN_LIT_RATIO times as much ($many)" "$(img_lit_fraction "$many" "$LIT")" '>' "$wanted"
  check_num "without the sky box the view is black between the balls ($few)" "$(black_fraction "$few")" '>' "$MIN_BLACK"
  check_num "with the settings' sky box it is not ($SHOT)" "$(black_fraction "$SHOT")" '<' "$MAX_SKY_BLACK"
}

hack_require_build
xsession_start 1024x768 -ac
make_saver_home

saver_command xscreensaver -no-splash -verbose
xsession_spawn daemon "$SAVER_HOME" "${SAVER_COMMAND[@]}"
xs_poll "$DAEMON_TIMEOUT" xs_daemon_answers || { fail "the daemon answers" "$(xsession_stderr daemon)"; xsession_finish; }

as_saver_user xscreensaver-command -activate >/dev/null
if xs_poll "$DAEMON_TIMEOUT" xs_hack_runs; then
  pass "-activate starts quorvel3d (pid $(xs_hack_pids | tr '\n' ' '))"
  if show_wait_balls activated; then
    pass "the screen shows the swarm ($SHOW_SHOT)"
  else
    fail "the screen shows the swarm" "last screenshot: $SHOW_SHOT"
  fi
  check "the program says nothing" bash -c "! grep -q 'quorvel3d:' '$XS_ARTEFACTS/daemon.err' '$XS_ARTEFACTS/daemon.out'"
else
  fail "-activate starts quorvel3d" "daemon log: $XS_ARTEFACTS/daemon.err"
fi

run_programs_with_options

# The daemon stops its programs with SIGTERM and expects them to die of it;
# it logs how a run ended when it moves on to the next one.
xs_daemon_saw_end() { grep -q 'quorvel3d) exited normally with SIGTERM' "$XS_ARTEFACTS/daemon.err"; }
as_saver_user xscreensaver-command -cycle >/dev/null
if xs_poll "$DAEMON_TIMEOUT" xs_daemon_saw_end; then
  pass "-cycle ends the run in a way the daemon logs as normal"
else
  fail "-cycle ends the run in a way the daemon logs as normal" "$(grep 'child pid' "$XS_ARTEFACTS/daemon.err" | tail -n 3)"
fi

as_saver_user xscreensaver-command -deactivate >/dev/null
if xs_poll "$DAEMON_TIMEOUT" xs_hack_gone; then
  pass "-deactivate ends quorvel3d and leaves no process"
else
  fail "-deactivate ends quorvel3d and leaves no process" "still running: $(xs_hack_pids | tr '\n' ' ')"
fi
check_eq "the settings file is as it was: options are for one run" "$SETTINGS_SUM" \
  "$(sha256sum <"$SAVER_HOME/.config/quorvel3d/settings.reg")"

xsession_finish
