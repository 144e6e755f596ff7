# Quorvel3D without arguments opens the options dialog; the about box opens
# from it; values chosen by keyboard and confirmed with Enter land in the
# settings file that the show reads.

source "$(dirname "$0")/launcher_x.sh"
start_x

"$QV_STAGE_DIR/Quorvel3D" &
launcher=$!
E2E_PIDS+=($launcher)
options=$(window_named "Quorvel 3D Options")
sleep 1
screenshot launcher_options

# Opening the dialog has written every default.
expect_setting '"PixelsUsed"=dword:00000400'
expect_setting '"UseBackground"=dword:00000001'

press_keys "$options" alt+a
about=$(window_named "About Quorvel 3D")
sleep 1.5
screenshot launcher_about
press_keys "$about" Return
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^About Quorvel 3D\$'" || fail "about box stayed open"

# Focus is back on OK: Tab past Cancel and About to the five lists, then the
# two check boxes.
press_keys "$options" Tab Tab Tab Down Tab Down Tab Down Tab Up Tab Down Tab space Tab space
sleep 0.3
screenshot launcher_options_changed
press_keys "$options" Return

wait_exit "$launcher"
[ "$EXIT_CODE" = 0 ] || fail "the launcher ended with $EXIT_CODE"
expect_setting '"PixelsUsed"=dword:00000800'
expect_setting '"PixelsSize"=dword:40800000'
expect_setting '"PixelsColor"=dword:00000001'
expect_setting '"CameraDistance"=dword:42a00000'
expect_setting '"CameraSpeed"=dword:3a83126f'
expect_setting '"UseBackground"=dword:00000000'
expect_setting '"UseLighting"=dword:00000001'

# The show's own loading sees the same choices.
read_by_show=$("$QV_BUILD_DIR/tests/launcher_settings_probe")
expected=$'PixelsUsed=2048\nPixelsSize=4\nPixelsColor=1\nUseLighting=1\nCameraDistance=80\nCameraSpeed=0.001\nUseBackground=0'
[ "$read_by_show" = "$expected" ] || fail "the show would read: $read_by_show"
echo "PASS"
