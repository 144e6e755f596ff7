#!/usr/bin/env bash
# The swarm drawn in one pass gives the same frame as the engine's billboards
# drawn one by one, with the mip-maps the driver would make: the on-screen
# cases of swarm_node_test, on the OpenGL driver of a virtual display.
source "$(dirname "$0")/show_lib.sh"

TEST_PROGRAM="$QV_BUILD_DIR/tests/swarm_node_test"
[ -x "$TEST_PROGRAM" ] || { echo "missing $TEST_PROGRAM: build the target swarm_node_test first" >&2; exit 1; }

xsession_start 640x480
check "the one-pass and the node-by-node frames match, with lighting or not, one picture or all, sky or not" \
  "${SHOW_SPAWN_ENV[@]}" "$TEST_PROGRAM" --gtest_filter='*OnScreen*' --gtest_brief=1
xsession_finish
