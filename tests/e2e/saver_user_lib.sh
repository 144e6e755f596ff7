# shellcheck shell=bash
# The xscreensaver daemon starts no screen saver as root, so the tests that
# run it do so as an unprivileged test user, added when the script runs as
# root. The caller sets SAVER_USER, makes the user's home with
# saver_home_make, and may set SAVER_PATH to put its own folders first.

command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
  xsession_skip "xscreensaver is not installed (tools/install-deps installs it)"

SAVER_HOME=""
saver_cleanup() {
  xsession_cleanup
  [ -n "$SAVER_HOME" ] && rm -rf "$SAVER_HOME"
}
trap saver_cleanup EXIT

# Adds the user when needed and gives it a fresh home named after NAME.
saver_home_make() {
  if [ "$(id -u)" -eq 0 ] && ! id "$SAVER_USER" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$SAVER_USER" ||
      xsession_skip "cannot add the test user $SAVER_USER"
  fi
  SAVER_HOME=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
}

# Sets SAVER_COMMAND to run ARGS as the test user, in an environment as bare
# as a session's.
saver_command() {
  SAVER_COMMAND=(env -i "HOME=$SAVER_HOME" "DISPLAY=$DISPLAY" "PATH=${SAVER_PATH:-/usr/bin:/bin}" LANG=C.UTF-8 "$@")
  [ "$(id -u)" -ne 0 ] || SAVER_COMMAND=(runuser -u "$SAVER_USER" -- "${SAVER_COMMAND[@]}")
}

as_saver_user() { saver_command "$@" && "${SAVER_COMMAND[@]}"; }

saver_user() { if [ "$(id -u)" -eq 0 ]; then printf '%s\n' "$SAVER_USER"; else id -un; fi; }

# Writes a ~/.xscreensaver in the user's home that runs only COMMAND, with no
# lock, fading, splash or power saving; further settings lines may follow.
saver_prefs_write() {
  local command=$1; shift
  {
    printf '%s\n' "mode: one" "selected: 0" "timeout: 1:00:00" "lock: False" "fade: False" "unfade: False" \
      "splash: False" "dpmsEnabled: False" "$@"
    printf 'programs: GL: "Quorvel 3D" %s \\n\n' "$command"
  } >"$SAVER_HOME/.xscreensaver"
}
