#!/usr/bin/env bash
# The settings suite built for Windows, run against the registry of a fresh,
# private Wine prefix: the same cases the settings file passes on Linux,
# plus those of the machine's key that fills in for the user's.
#
# QV_WIN_BUILD names the Windows build folder (build-win in the source tree).
# shellcheck source=wine_lib.sh
source "$(dirname "$0")/wine_lib.sh"

program="$QV_WIN_BUILD/tests/settings_key_test.exe"
[ -r "$program" ] || { xs_log "no $program: build the target settings_key_test"; exit 1; }

wine_prefix_start
wine_run "$program" --gtest_color=no
