# Quorvel3D /s starts the show from the install directory and waits for it;
# a key press ends the show, and both end with 0. Without a show program the
# launcher reports it on standard error (no display) and still ends with 0.

source "$(dirname "$0")/launcher_x.sh"

# The show is missing: with no display the message becomes one line.
mkdir -p "$E2E_WORK/empty"
write_settings "\"InstallDir\"=\"$E2E_WORK/empty/\""
message=$(env -u DISPLAY PATH=/usr/bin:/bin "$QV_STAGE_DIR/Quorvel3D" /s 2>&1) || fail "the launcher failed: $message"
[ "$message" = "Quorvel3D: Error: Executable module not found! Please reinstall the application!" ] ||
  fail "unexpected report: $message"

# A preview request ends at once and touches nothing.
before=$(cat "$SETTINGS_FILE")
"$QV_STAGE_DIR/Quorvel3D" /p 1234 || fail "the preview request failed"
[ "$(cat "$SETTINGS_FILE")" = "$before" ] || fail "the preview request changed the settings"

if [ ! -x "$QV_STAGE_DIR/qvshow" ]; then
  echo "SKIP: $QV_STAGE_DIR/qvshow is not built"
  exit 77
fi

start_x
write_settings "\"InstallDir\"=\"$QV_STAGE_DIR/\""
cd "$E2E_WORK"
"$QV_STAGE_DIR/Quorvel3D" /S &
launcher=$!
E2E_PIDS+=($launcher)

wait_for 200 pgrep -P "$launcher" -x qvshow || fail "the show did not start"
show=$(pgrep -P "$launcher" -x qvshow)
[ "$(readlink "/proc/$show/cwd")" = "$(cd "$QV_STAGE_DIR" && pwd -P)" ] || fail "the show runs in the wrong folder"
# Once the show's window is up, a key press ends it. Under a loaded machine
# the show may still be setting up, so a missed press is repeated twice.
wait_for 300 xdotool search --onlyvisible --name '' || fail "the show opened no window"
sleep 2
screenshot launcher_show
for ((press = 0; press < 3; press++)); do
  xdotool key space 2>/dev/null || true
  wait_for 100 bash -c "! kill -0 $launcher 2>/dev/null" && break
done
kill -0 "$launcher" 2>/dev/null && fail "key presses did not end the show"
wait_exit "$launcher"
[ "$EXIT_CODE" = 0 ] || fail "the launcher ended with $EXIT_CODE"
pgrep -x qvshow -P "$launcher" >/dev/null && fail "the show is still running"
echo "PASS"
