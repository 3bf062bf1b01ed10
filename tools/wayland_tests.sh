#!/usr/bin/env bash
# The window, drawing and input tests over the Wayland back end: weston runs
# inside an Xvfb of its own with its X11 back end and the kiosk shell (which
# centres a fixed-size window on black), the tests inject input with XTest
# on that Xvfb and read weston's window back with XGetImage. Xvfb and weston
# are started and stopped here by their process ids.
# Usage: tools/wayland_tests.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
display=${KRGFX_WAYLAND_TEST_DISPLAY:-:79}
runtime=$(mktemp -d /tmp/krgfx-wayland-XXXXXX)
chmod 700 "$runtime"
xvfb_pid=""
weston_pid=""
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 2100x1600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
# Another server on that display would leave this one ended.
kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb could not start on $display" >&2; exit 1; }

# on_weston SHELL SCALE FILTER [VARIABLE=VALUE...]: the tests FILTER names on
# a 1024x768 weston output of that scale and shell (kiosk or desktop), with
# the variables set.
on_weston() {
  local shell=$1 scale=$2 filter=$3 status=0
  shift 3
  XDG_RUNTIME_DIR=$runtime DISPLAY=$display weston --backend=x11-backend.so --use-pixman \
    --shell="$shell-shell.so" --width=1024 --height=768 --scale="$scale" --socket=krgfx-test \
    --idle-time=0 >"$runtime/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 100); do [ -S "$runtime/krgfx-test" ] && break; sleep 0.1; done
  [ -S "$runtime/krgfx-test" ] || { cat "$runtime/weston.log"; return 1; }
  env "$@" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=krgfx-test KRGFX_TEST_COMPOSITOR=weston \
    KRGFX_TEST_SHELL="$shell" \
    DISPLAY="$display" KRGFX_TEST_DISPLAY="$display" KRGFX_WINDOW_SYSTEM=wayland \
    "$build/tests/krgfx_x11_tests" --gtest_filter="$filter" || status=$?
  kill "$weston_pid"
  wait "$weston_pid" 2>/dev/null || true
  weston_pid=""
  return $status
}

# The suites that read back a window and inject input, and the game; their
# X11-only cases (window properties, 16-bit X screens, X errors) stay on the
# X11 stages.
pictures='DriversAndScreens/X11Window.AnEightHundred*On24Bits'
pictures+=':DriversAndScreens/X11Window.AnEightBit*On24Bits'
pictures+=':DriversAndScreens/X11Window.ASixteenBit*On24Bits'
pictures+=':DriversAndScreens/X11Window.OnACompositor*On24Bits:*CompositorColourKey.*'
drawing='DriversAndScreens/DrawOnWindow.Shapes*_24:DriversAndScreens/DrawOnWindow.APalette*_24'
status=0
on_weston kiosk 1 "$pictures:$drawing:RealInputTest.*:Builds/GameWindowTest.PlaysThroughEveryState/Linux" ||
  status=$?
# A HiDPI output: the window's pixels are 2x2 blocks of the output's, the
# pointer is reported in framebuffer pixels (the drawing tests read single
# pixels, at scale 1 only).
on_weston kiosk 2 "$pictures:RealInputTest.*" KRGFX_SCALE=2 || status=$?
# The desktop shell draws no frames and places windows itself: the frame
# libdecor draws round the picture, its close and maximise buttons.
on_weston desktop 1 'CompositorFrame.*' || status=$?
exit $status
